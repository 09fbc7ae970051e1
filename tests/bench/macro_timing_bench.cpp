// How closely macro playback keeps its delays with the real clock: 200 events with delays of 1 to
// 20 ms go through the playback and the portable sleeper, and the error between the intended and
// the measured gap of every two events is reported as p50 and p99 (milliseconds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "actions/host_actions.h"
#include "platform/steady_sleeper.h"
#include "support/no_window.h"
#include "support/macro_timing.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {

using Clock = std::chrono::steady_clock;

double SteadyNowMs() { return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count(); }

void BM_MacroTiming(benchmark::State& state) {
    PublishedConfig published;
    PressHandoff handoff;
    MacroStore macros;
    const MacroRecord macro = StoreTimingMacro(macros);
    RecordingShell shell;
    SteadySleeper sleeper;
    NoWindow window;

    std::vector<double> errors;
    for (auto _ : state) {
        RecordingInjector injector(SteadyNowMs);
        HostActions(published, handoff, macros, injector, shell, sleeper, window).PlayMacro(0);
        for (const double error : DelayErrorsMs(macro, injector.stamps)) errors.push_back(std::abs(error));
    }
    state.counters["err_p50_ms"] = Percentile(errors, 0.50);
    state.counters["err_p99_ms"] = Percentile(errors, 0.99);
    state.counters["err_max_ms"] = Percentile(errors, 1.0);
}
BENCHMARK(BM_MacroTiming)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
