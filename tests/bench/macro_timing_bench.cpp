// How closely macro playback keeps its delays with the real clock: 200 events with delays of 1 to
// 20 ms go through the playback and the portable sleeper, and the error between the intended and
// the measured gap of every two events is reported as p50 and p99 (milliseconds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "actions/host_actions.h"
#include "support/idle_host_ports.h"
#include "support/macro_timing.h"
#include "platform/steady_sleeper.h"

namespace {

using Clock = std::chrono::steady_clock;

struct NoShell : ShellPort {
    void OpenFolder(const std::u16string&) override {}
    void LockWorkstation() override {}
    void StartSystemProgram(const std::u16string&) override {}
};

double SteadyNowMs() { return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count(); }

void BM_MacroTiming(benchmark::State& state) {
    ProgramState program;
    NoProfile profile;
    MacroStore macros;
    const MacroRecord macro = StoreTimingMacro(macros);
    NoShell shell;
    SteadySleeper sleeper;
    IdleLinks links;

    std::vector<double> errors;
    for (auto _ : state) {
        TimestampInjector injector(SteadyNowMs);
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
