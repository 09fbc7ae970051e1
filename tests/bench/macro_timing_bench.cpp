// How closely macro playback keeps its delays with the real clock: 200 events with delays of 1 to
// 20 ms go through the playback and the portable sleeper, and the error between the intended and
// the measured gap of every two events is reported as p50 and p99 (milliseconds).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "actions/host_actions.h"
#include "support/idle_host_ports.h"
#include "platform/steady_sleeper.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TimestampInjector : InputInjectorPort {
    void KeyEvent(std::uint8_t, std::uint8_t, std::uint32_t) override { stamps.push_back(Clock::now()); }
    void MouseButton(MouseButtonEvent) override { stamps.push_back(Clock::now()); }
    std::uint32_t ScanCodeOf(std::uint8_t vk) override { return vk; }
    std::vector<Clock::time_point> stamps;
};
struct NoShell : ShellPort {
    void OpenFolder(const std::u16string&) override {}
    void LockWorkstation() override {}
    void StartSystemProgram(const std::u16string&) override {}
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
}

void BM_MacroTiming(benchmark::State& state) {
    constexpr int kEvents = 200;
    MacroRecord macro = NewMacro(u"timing");
    macro.eventCount = kEvents;
    for (int k = 0; k < kEvents; ++k) {
        macro.events[k] = {static_cast<std::uint8_t>('A' + k % 26),
                           static_cast<std::uint8_t>(k % 2 == 0 ? kActionPress : kActionRelease),
                           static_cast<std::uint16_t>(1 + (k * 7) % 20)};
    }
    ProgramState program;
    NoProfile profile;
    MacroStore macros;
    macros.Edit([&](MacroStoreData& d) {
        d.records[0] = macro;
        d.count = 1;
    });
    NoShell shell;
    SteadySleeper sleeper;
    IdleLinks links;

    std::vector<double> errors;
    for (auto _ : state) {
        TimestampInjector injector;
        HostActions(program, profile, macros, injector, shell, sleeper, links).PlayMacro(0);
        for (int k = 0; k + 1 < kEvents; ++k) {
            const double gapMs = std::chrono::duration<double, std::milli>(injector.stamps[k + 1] - injector.stamps[k]).count();
            errors.push_back(std::abs(gapMs - macro.events[k].delay));
        }
    }
    state.counters["err_p50_ms"] = Percentile(errors, 0.50);
    state.counters["err_p99_ms"] = Percentile(errors, 0.99);
    state.counters["err_max_ms"] = Percentile(errors, 1.0);
}
BENCHMARK(BM_MacroTiming)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
