// What the window benchmarks share: the real main window and mouse side started in a scratch
// program folder around an in-process virtual mouse, the feature reports it takes with the moment
// of each, the performance counter in milliseconds and a message pump for the window's thread
// that wakes as soon as a message arrives.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_settings.h"
#include "win32/mouse_rig.h"
#include "win32/skin_support.h"
#include "win32/support.h"

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

constexpr int kBenchSlots = 5;
constexpr DWORD kBenchTimeoutMs = 5000;

// config.ini with every slot's buttons as given and fire time 8 x slot, so that the fire interval
// report names the slot it applied; slot 6, the applied copy, as slot 1, where the program starts.
inline std::string BenchConfigIni(const std::string& buttons) {
    std::string ini = "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n";
    for (int slot = 1; slot <= kBenchSlots + 1; ++slot) {
        ini += "[Config" + std::to_string(slot) + "]\r\n" + buttons + "DPI_SET_EN1=1\r\nFIRE_TIME=" +
               std::to_string(8 * (slot > kBenchSlots ? 1 : slot)) + "\r\n";
    }
    return ini;
}

// The program's window and mouse side in a scratch folder, with the pointer speed and wheel lines
// going to fake settings, so Windows' own are never changed.
struct BenchWindow {
    // False, told on stderr, when the window could not be made or did not finish its start-up.
    bool Start(const std::string& configIni) {
        CopyBuiltSkins(dir.Path());
        dir.Write("config.ini", configIni);
        dir.Write("Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
        rig.services.program.paths.ProgramDir = FromWide(dir.Path());
        if (!dialog.Create() || !PumpFor(kBenchTimeoutMs, [&] { return dialog.StartupFinished(); })) {
            std::fprintf(stderr, "the main window could not be created or did not finish starting\n");
            return false;
        }
        return true;
    }
    // From now on every feature report the mouse takes lands in log.
    void LogReports() {
        rig.mouse->SetFeatureLog([this](const std::string& line) {
            const LONGLONG now = Now();
            std::lock_guard<std::mutex> hold(log.mutex);
            log.lines.emplace_back(now, line);
        });
    }
    ~BenchWindow() {
        SendMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
        rig.mouse->SetFeatureLog(nullptr);
    }

    ScratchDir dir;
    ReportLog log;  // outlives the mouse that writes to it
    FakeSettings settings;
    MouseRig rig{settings};
    CHXT_GMouseDlg dialog{rig.services, rig.window.Ports(), &rig.programMouse};
};
