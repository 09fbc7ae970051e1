// How closely macro playback keeps its delays with the real clock: 200 events with delays of 1 to
// 20 ms go through the playback and the portable sleeper, and the error between the intended and
// the measured gap of every two events is reported as p50 and p99 (milliseconds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "actions/host_actions.h"
#include "platform/steady_sleeper.h"
#include "support/fake_links.h"
#include "support/macro_timing.h"
#include "support/memory_profile.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {

using Clock = std::chrono::steady_clock;

double SteadyNowMs() { return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count(); }

void BM_MacroTiming(benchmark::State& state) {
    ProgramState program;
    MemoryProfile profile;
    MacroStore macros;
    const MacroRecord macro = StoreTimingMacro(macros);
    RecordingShell shell;
    SteadySleeper sleeper;
    FakeLinks links;

    std::vector<double> errors;
    for (auto _ : state) {
        RecordingInjector injector(SteadyNowMs);
        HostActions(program, profile, macros, injector, shell, sleeper, links).PlayMacro(0);
        for (const double error : DelayErrorsMs(macro, injector.stamps)) errors.push_back(std::abs(error));
    }
    state.counters["err_p50_ms"] = Percentile(errors, 0.50);
    state.counters["err_p99_ms"] = Percentile(errors, 0.99);
    state.counters["err_max_ms"] = Percentile(errors, 1.0);
}
BENCHMARK(BM_MacroTiming)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
