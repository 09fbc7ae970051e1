#include "platform/exit_watchdog_win32.h"

namespace {
struct Deadline {
    DWORD ms;
    UINT status;
};

DWORD WINAPI EndWhenDue(void* parameter) {
    const Deadline deadline = *static_cast<Deadline*>(parameter);
    delete static_cast<Deadline*>(parameter);
    Sleep(deadline.ms);
    OutputDebugStringW(L"HXT_GMouse: the process had not ended in time after its window closed; ended now.\n");
    // Not ExitProcess: a hang in a library's detach would hang it too.
    TerminateProcess(GetCurrentProcess(), deadline.status);
    return 0;
}
}  // namespace

void EndProcessAfter(DWORD ms, UINT status) {
    auto* deadline = new Deadline{ms, status};
    // A small stack: the thread only waits.
    const HANDLE thread = CreateThread(nullptr, 64 * 1024, &EndWhenDue, deadline, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        delete deadline;
        return;
    }
    CloseHandle(thread);
}
