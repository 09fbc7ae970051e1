// The window in front, as the system reports each change: a foreground event hook on the
// window's thread, out of context, so no code of ours runs in other programs and nothing polls.
#pragma once

#include <windows.h>

#include <functional>

#include "app/program_profiles.h"

// The window described as the program-profile rules read it: its class, its program's full path
// (through a query-only handle, which elevated and protected programs give too) and whether it
// is one of ours.
ForegroundWindow DescribeWindow(HWND window);

class ForegroundWatch {
public:
    // changed is called on this thread, from its message loop, for each new window in front.
    explicit ForegroundWatch(std::function<void(HWND)> changed);
    ~ForegroundWatch();
    ForegroundWatch(const ForegroundWatch&) = delete;
    ForegroundWatch& operator=(const ForegroundWatch&) = delete;

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time);

    std::function<void(HWND)> changed_;
    HWINEVENTHOOK hook_ = nullptr;
};
