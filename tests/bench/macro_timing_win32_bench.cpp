// How closely macro playback keeps its delays under Windows (or Wine): the timing macro, 200 key
// events with delays of 1 to 20 ms, played RUNS times (default 3) through the real playback and
// the program's sleeper on a thread of the highest priority, as the executor's; prints the error
// between the intended and the measured gap of every two events as p50, p99 and max (ms).
// Run by hand: macro_timing_bench.exe [runs].
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "actions/host_actions.h"
#include "platform/clock_win32.h"
#include "support/no_window.h"
#include "support/macro_timing.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {

double PerformanceCounterMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    PublishedConfig published;
    PressHandoff handoff;
    MacroStore macros;
    const MacroRecord macro = StoreTimingMacro(macros);
    RecordingShell shell;
    PreciseSleeper sleeper;
    NoWindow window;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    std::vector<double> errors;
    for (int run = 0; run < runs; ++run) {
        RecordingInjector injector(PerformanceCounterMs);
        HostActions(published, handoff, macros, injector, shell, sleeper, window).PlayMacro(0);
        for (const double error : DelayErrorsMs(macro, injector.stamps)) errors.push_back(std::abs(error));
    }
    if (errors.empty()) return 1;
    std::printf("macro delay error over %d runs (%s timer): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", runs,
                sleeper.HighResolutionTimer() ? "high-resolution" : "normal", Percentile(errors, 0.5),
                Percentile(errors, 0.99), Percentile(errors, 1.0));
    return 0;
}
