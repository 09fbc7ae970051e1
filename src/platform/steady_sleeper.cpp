#include "platform/steady_sleeper.h"

#include <chrono>
#include <thread>

void SteadySleeper::SleepMs(std::uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    if (ms == 0) return;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    // Sleep until about a millisecond before the end; the system may wake a little late.
    constexpr auto kSpin = std::chrono::microseconds(1000);
    const auto wake = end - kSpin;
    if (Clock::now() < wake) std::this_thread::sleep_until(wake);
    // Spin without giving the processor away: a yield under load can cost a whole time slice.
    while (Clock::now() < end) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}
