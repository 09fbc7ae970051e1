// What the window benchmarks share: the performance counter in milliseconds, the feature reports
// the virtual mouse took with the moment of each, and a message pump for the window's thread
// that wakes as soon as a message arrives.
#pragma once

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

inline LONGLONG Now() {
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

inline double Ms(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

// Report ID 7, command 0x12: the fire interval, which an apply sends last.
inline const std::string kFireReport = "07 12 ";

// The feature reports the mouse took, each with the moment it took it.
struct ReportLog {
    std::mutex mutex;
    std::vector<std::pair<LONGLONG, std::string>> lines;

    std::size_t Size() {
        std::lock_guard<std::mutex> hold(mutex);
        return lines.size();
    }
    // The first fire interval report from index from on, and its index.
    bool FindFire(std::size_t from, std::size_t& at, std::pair<LONGLONG, std::string>& found) {
        std::lock_guard<std::mutex> hold(mutex);
        for (at = from; at < lines.size(); ++at) {
            if (lines[at].second.rfind(kFireReport, 0) != 0) continue;
            found = lines[at];
            return true;
        }
        return false;
    }
};

// Dispatches the window thread's messages until done or timeoutMs, waking as soon as one
// arrives; counts the messages it dispatched into dispatched when given.
template <typename Done>
bool PumpFor(DWORD timeoutMs, Done done, long* dispatched = nullptr) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dispatched) ++*dispatched;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(1, timeoutMs - spent), QS_ALLINPUT);
    }
}

inline void Settle(DWORD ms) { PumpFor(ms, [] { return false; }); }
