#include "platform/crash_filter_win32.h"

#include <atomic>
#include <cstdlib>

namespace {
// Windows' filter and std::terminate take no context: the filter in force is found here.
std::atomic<CrashFilter*> g_installed{nullptr};
}  // namespace

CrashFilter::CrashFilter(LastWord lastWord, void* context, Tell tell)
    : lastWord_(lastWord), context_(context), tell_(tell) {
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

namespace {
// What the telling thread is given.
struct Telling {
    CrashFilter::Tell tell;
    const std::wstring* text;
};

DWORD WINAPI TellOnItsOwnThread(void* parameter) {
    const auto& telling = *static_cast<const Telling*>(parameter);
    telling.tell(*telling.text);
    return 0;
}
}  // namespace

void CrashFilter::EndAfterFailure(const std::wstring& what) noexcept {
    CrashFilter* filter = g_installed.load();
    if (!filter) std::terminate();
    filter->SayLastWord();
    if (filter->tell_) {
        // A message box on the failed thread would run its windows' handlers again, which could
        // talk to the mouse after its exit command, or fail once more.
        Telling telling{filter->tell_, &what};
        const HANDLE thread = CreateThread(nullptr, 0, &TellOnItsOwnThread, &telling, 0, nullptr);
        if (thread) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        } else {
            filter->tell_(what);
        }
    }
    // The other threads stop where they are, as in a crash: no destructor runs on a broken state.
    TerminateProcess(GetCurrentProcess(), kFailureStatus);
    std::abort();  // not reached
}
