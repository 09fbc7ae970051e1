#include "platform/crash_filter_win32.h"

#include <atomic>
#include <cstdlib>

namespace {
// Windows' filter and std::terminate take no context: the filter in force is found here.
std::atomic<CrashFilter*> g_installed{nullptr};
}  // namespace

CrashFilter::CrashFilter(LastWord lastWord, void* context) : lastWord_(lastWord), context_(context) {
    g_installed.store(this);
    previousFilter_ = SetUnhandledExceptionFilter(&CrashFilter::OnUnhandledException);
    previousTerminate_ = std::set_terminate(&CrashFilter::OnTerminate);
}

CrashFilter::~CrashFilter() {
    std::set_terminate(previousTerminate_);
    SetUnhandledExceptionFilter(previousFilter_);
    g_installed.store(nullptr);
}

void CrashFilter::SayLastWord() noexcept {
    // Two threads crashing at once, or a fault inside the last word itself, say it no more.
    if (InterlockedExchange(&said_, 1) == 0) lastWord_(context_);
}

LONG WINAPI CrashFilter::OnUnhandledException(EXCEPTION_POINTERS* exception) {
    CrashFilter* filter = g_installed.load();
    if (!filter) return EXCEPTION_CONTINUE_SEARCH;
    filter->SayLastWord();
    // The runtime's own filter (it turns an uncaught C++ exception into std::terminate), then
    // Windows' report.
    return filter->previousFilter_ ? filter->previousFilter_(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void CrashFilter::OnTerminate() {
    CrashFilter* filter = g_installed.load();
    if (filter) {
        filter->SayLastWord();
        if (filter->previousTerminate_) filter->previousTerminate_();
    }
    std::abort();
}
