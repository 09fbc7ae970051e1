#include "app/foreground_watch_win32.h"

#include "platform/growing_buffer_win32.h"
#include "platform/wide_text_win32.h"

namespace {
// The system's callback carries no context of ours; one watch per thread is all the program
// needs, and the callback runs on the thread that hooked.
thread_local ForegroundWatch* watchOfThisThread = nullptr;
}  // namespace

ForegroundWindow DescribeWindow(HWND window) {
    ForegroundWindow described;
    wchar_t windowClass[256] = {};
    if (GetClassNameW(window, windowClass, static_cast<int>(std::size(windowClass))) > 0) {
        described.windowClass = FromWide(windowClass);
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    described.ours = processId == GetCurrentProcessId();
    if (const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        described.programPath = FromWide(CallWithGrowingBuffer([process](wchar_t* buffer, DWORD size) -> DWORD {
            DWORD length = size;
            if (QueryFullProcessImageNameW(process, 0, buffer, &length)) return length;
            return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? size : 0;
        }));
        CloseHandle(process);
    }
    return described;
}

ForegroundWatch::ForegroundWatch(std::function<void(HWND)> changed) : changed_(std::move(changed)) {
    if (watchOfThisThread) return;  // a second watch on one thread would steal the first's events
    hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &ForegroundWatch::OnEvent, 0, 0,
                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook_) watchOfThisThread = this;
}

ForegroundWatch::~ForegroundWatch() {
    if (!hook_) return;
    UnhookWinEvent(hook_);
    watchOfThisThread = nullptr;
}

void CALLBACK ForegroundWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                       DWORD) {
    if (event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
    if (watchOfThisThread && watchOfThisThread->changed_) watchOfThisThread->changed_(window);
}
