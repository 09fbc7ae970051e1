// How long a program profile's switch takes: from the foreground's change to a window of another
// program to the last feature report of the apply it causes, less the 300 ms the foreground must
// stay put first; p50, p99 and max. Then how often the program wakes while the foreground stays
// for 10 s: the messages its window's thread receives and the mouse threads' wake-ups.
// Two stand-in programs (build/win64/stand_in_program.exe as game.exe, bound to slot 3, and
// other.exe, unbound) take turns in front; the real main window and mouse side run around an
// in-process virtual mouse, as host_switch_bench.exe runs them.
// Run by hand under Wine: profile_switch_bench.exe [switches]. Exits 1 when the window or the
// stand-ins cannot be made, or a switch does not apply the slot it should.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program_profiles.h"
#include "bench/window_bench_win32.h"
#include "support/percentile.h"

namespace {

constexpr int kDefaultSwitches = 40;
constexpr int kGameSlot = 3;
constexpr DWORD kQuietMs = 10000;

// ASCII text as apps.ini is stored: UTF-16LE after its byte order mark.
std::string Utf16File(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) bytes += {c, '\0'};
    return bytes;
}

// A stand-in program started from dir under name; its window, or null.
HWND StartStandIn(const std::filesystem::path& dir, const std::wstring& name, int x) {
    std::filesystem::copy_file(TestProgramDir() / "stand_in_program.exe", dir / name,
                               std::filesystem::copy_options::overwrite_existing);
    const std::wstring title = L"Stand-in " + name;
    std::wstring line = L"\"" + (dir / name).wstring() + L"\" \"" + title + L"\" " + std::to_wstring(x) + L" 600";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HWND window = nullptr;
    PumpFor(kBenchTimeoutMs, [&] { return (window = FindWindowW(L"HxtStandInProgram", title.c_str())) != nullptr; });
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    const int switches = std::max(argc > 1 ? std::atoi(argv[1]) : kDefaultSwitches, 2);
    BenchWindow bench;
    // No host-mode button: no start key blinks, so an idle window has nothing to do.
    bench.dir.Write("apps.ini", Utf16File("[Apps]\r\ngame.exe=" + std::to_string(kGameSlot) + "\r\n"));
    if (!bench.Start(BenchConfigIni("K1=1\r\nK2=2\r\nK3=3\r\nK4=4\r\nK5=5\r\nK6=3\r\nK7=3\r\n"))) return 1;
    const std::filesystem::path dir = bench.dir.Path();
    const HWND game = StartStandIn(dir, L"game.exe", 40);
    const HWND other = StartStandIn(dir, L"other.exe", 300);
    if (!game || !other) {
        std::fprintf(stderr, "the stand-in programs did not come up (build the stand_in_program target)\n");
        return 1;
    }
    bench.LogReports();
    ReportLog& log = bench.log;
    SetForegroundWindow(other);
    Settle(1000);

    std::vector<double> ms;
    for (int i = 0; i < switches; ++i) {
        const bool toGame = i % 2 == 0;
        const std::size_t from = log.Size();
        std::size_t at = 0;
        std::pair<LONGLONG, std::string> fire;
        const LONGLONG start = Now();
        SetForegroundWindow(toGame ? game : other);
        if (!PumpFor(kBenchTimeoutMs, [&] { return log.FindFire(from, at, fire); })) {
            std::fprintf(stderr, "switch %d: no fire interval report within %lu ms\n", i, kBenchTimeoutMs);
            return 1;
        }
        const int slot = std::stoi(fire.second.substr(kFireReport.size(), 2), nullptr, 16);
        if (slot != (toGame ? kGameSlot : 1)) {
            std::fprintf(stderr, "switch %d applied slot %d (%s)\n", i, slot, fire.second.c_str());
            return 1;
        }
        ms.push_back(Ms(fire.first - start) - static_cast<double>(ProgramProfiles::kSettleTime.count()));
        Settle(100);
    }

    // Past the indicator of the last switch, which hides itself after 1.2 s.
    Settle(2000);
    const WakeCounters& wakeups = bench.rig.services.handoff.wakeups;
    const std::uint64_t listener = wakeups.listener.load(), executor = wakeups.executor.load();
    long messages = 0;
    PumpFor(kQuietMs, [] { return false; }, &messages);
    PostMessageW(game, WM_CLOSE, 0, 0);
    PostMessageW(other, WM_CLOSE, 0, 0);
    std::printf("program profile switch, foreground change to last feature report less the %lld ms settle: "
                "p50 %.3f ms p99 %.3f ms max %.3f ms (%d switches)\n",
                static_cast<long long>(ProgramProfiles::kSettleTime.count()), Percentile(ms, 0.50),
                Percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()), switches);
    std::printf("while the foreground stays %lu s: %ld messages to the window's thread, %llu listener and %llu "
                "executor wake-ups\n",
                kQuietMs / 1000, messages, static_cast<unsigned long long>(wakeups.listener.load() - listener),
                static_cast<unsigned long long>(wakeups.executor.load() - executor));
    return 0;
}
