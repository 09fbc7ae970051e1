// How long a host configuration switch takes: from the press of a mouse button whose host action
// is "next configuration" to the last feature report of the apply it causes (the fire interval
// report), p50, p99 and max. The real main window and mouse side, wired as tests/win32/mouse_rig.h
// wires them, around an in-process virtual mouse. The pointer speed and wheel lines go to fake
// system settings, so Windows' own are never changed.
// Slots 1..5 have fire times 8..40, so the fire report of each switch names the slot it applied.
// The window thread pumps its messages all the while, as the program's own would.
// Run by hand under Wine: host_switch_bench.exe [presses]. Exits 1 when the window cannot be
// built, a switch does not end within a few seconds, a report follows the fire interval report or
// the slots do not cycle.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/window_bench_win32.h"
#include "support/percentile.h"

namespace {

constexpr int kDefaultPresses = 300;
constexpr int kWarmUpPresses = 10;
constexpr int kSwitchButton = 7;
// A press that comes while the previous switch still saves is taken as a stop request and
// switches nothing. That save follows the last report and costs about what the loads and saves
// before the first report did, so the wait after a switch is twice its own time and 20 ms more:
// the switch is over even on a loaded machine, without reading the executor's state.
constexpr DWORD kSettleMs = 20;
constexpr double kSettleFactor = 2.0;

// Presses the switch button count times; appends each switch's time to ms when given. Each switch
// must apply slot expected, which then moves on round 1..5.
bool Switch(VirtualMouse& mouse, ReportLog& log, int count, int& expected, std::vector<double>* ms) {
    for (int i = 0; i < count; ++i) {
        const std::size_t from = log.Size();
        std::size_t at = 0;
        std::pair<LONGLONG, std::string> fire;
        const LONGLONG start = Now();
        if (mouse.Press(kSwitchButton) != ButtonReport::Sent) {
            std::fprintf(stderr, "the mouse sent no press for button %d\n", kSwitchButton);
            return false;
        }
        if (!PumpFor(kBenchTimeoutMs, [&] { return log.FindFire(from, at, fire); })) {
            std::fprintf(stderr, "press %d: no fire interval report within %lu ms (lost to a switch still running?)\n",
                         i, kBenchTimeoutMs);
            return false;
        }
        const double took = Ms(fire.first - start);
        mouse.Release(kSwitchButton);  // once the apply put host actions on hold, this resumes them
        Settle(kSettleMs + static_cast<DWORD>(kSettleFactor * took));
        if (log.Size() != at + 1) {
            std::fprintf(stderr, "press %d: %zu reports followed the fire interval report\n", i, log.Size() - at - 1);
            return false;
        }
        const int slot = std::stoi(fire.second.substr(kFireReport.size(), 2), nullptr, 16);
        if (slot != expected) {
            std::fprintf(stderr, "press %d applied slot %d, not %d (%s)\n", i, slot, expected, fire.second.c_str());
            return false;
        }
        expected = expected % kBenchSlots + 1;
        if (ms) ms->push_back(took);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = std::max(argc > 1 ? std::atoi(argv[1]) : kDefaultPresses, 1);
    if (!std::filesystem::exists(BuiltSkinsDir() / "INI_EN" / "skin_main_en.ini")) {
        std::fprintf(stderr, "the generated skin is missing beside the program\n");
        return 1;
    }
    BenchWindow bench;
    if (!bench.Start(BenchConfigIni("K1=1\r\nK2=2\r\nK" + std::to_string(kSwitchButton) + "=40\r\n"))) return 1;
    MouseRig& rig = bench.rig;
    // Button 7 is in host mode: host actions wait for the mouse's first release.
    rig.mouse->Press(kSwitchButton);
    rig.mouse->Release(kSwitchButton);
    Settle(200);
    bench.LogReports();

    int expected = 2;  // the first switch leaves slot 1
    std::vector<double> ms;
    const bool ok = Switch(*rig.mouse, bench.log, kWarmUpPresses, expected, nullptr) &&
                    Switch(*rig.mouse, bench.log, presses, expected, &ms);
    if (!ok) return 1;
    std::printf("host configuration switch, press to last feature report: p50 %.3f ms p99 %.3f ms max %.3f ms "
                "(%d presses)\n",
                Percentile(ms, 0.50), Percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()), presses);
    return 0;
}
