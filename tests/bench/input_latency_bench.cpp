// How fast a press reaches the host action executor, and whether an idle mouse wakes anyone.
// A report is put into the virtual mouse's input queue; the listener reads it and hands it over;
// the executor takes it. Prints p50/p99 of that time over 10,000 presses, then counts the
// wake-ups of the listener, the executor and the blocked read during one idle second. Exits 1
// when a target (p50 < 50 us, no idle wake-up) is missed.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "actions/host_action_executor.h"
#include "core/press_handoff.h"
#include "device/discovery.h"
#include "device/input_listener.h"
#include "device/virtual_mouse.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kPresses = 10000;
constexpr double kTargetP50Us = 50.0;

std::uint64_t IdleWakeups(const PressHandoff& flags, const VirtualMouse& mouse) {
    return flags.wakeups.listener.load() + flags.wakeups.executor.load() + mouse.ReadWakeups();
}
}  // namespace

int main() {
    VirtualMouse mouse;
    DeviceLink link;
    PressHandoff flags;
    PublishedConfig published;
    if (!DiscoverDevice(mouse, link)) {
        std::fprintf(stderr, "virtual mouse not found\n");
        return 1;
    }

    std::atomic<Clock::rep> takenAt{0};
    std::atomic<int> performed{0};
    InputListener listener(InputListenerContext{link, flags, published, {}, {}});
    HostActionExecutor executor(HostActionExecutorContext{flags,
                                                          [&](int) {
                                                              takenAt.store(Clock::now().time_since_epoch().count());
                                                              performed.fetch_add(1);
                                                          },
                                                          {}});
    listener.Start();
    executor.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const std::uint8_t press[] = {0x06, 0xF1};
    std::vector<double> latenciesUs;
    latenciesUs.reserve(kPresses);
    for (int i = 0; i < kPresses; ++i) {
        const Clock::time_point sent = Clock::now();
        mouse.QueueInputReport(press);
        while (performed.load() != i + 1) std::this_thread::yield();
        // The next press must find the hand-off free, or it would count as a second press.
        while (flags.PendingInput() != 0) std::this_thread::yield();
        const Clock::time_point taken{Clock::duration(takenAt.load())};
        latenciesUs.push_back(std::chrono::duration<double, std::micro>(taken - sent).count());
    }
    std::sort(latenciesUs.begin(), latenciesUs.end());
    const double p50 = latenciesUs[latenciesUs.size() / 2];
    const double p99 = latenciesUs[latenciesUs.size() * 99 / 100];
    const double worst = latenciesUs.back();

    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::uint64_t before = IdleWakeups(flags, mouse);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const std::uint64_t idle = IdleWakeups(flags, mouse) - before;

    listener.Stop();
    executor.Stop();

    std::printf("report to executor over %d presses: p50 %.1f us, p99 %.1f us, max %.1f us\n", kPresses, p50, p99,
                worst);
    std::printf("mouse thread wake-ups during 1 s idle: %llu\n", static_cast<unsigned long long>(idle));
    const bool met = p50 < kTargetP50Us && idle == 0;
    std::printf("targets (p50 < %.0f us, 0 idle wake-ups): %s\n", kTargetP50Us, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
