#include "platform/steady_sleeper.h"

#include <chrono>

bool SteadySleeper::WaitMs(std::uint32_t ms, std::stop_token stop) {
    using Clock = std::chrono::steady_clock;
    if (stop.stop_requested()) return false;
    if (ms == 0) return true;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    // Sleep until about a millisecond before the end; the system may wake a little late.
    constexpr auto kSpin = std::chrono::microseconds(1000);
    const auto wake = end - kSpin;
    if (Clock::now() < wake) {
        std::unique_lock<std::mutex> lock(mutex_);
        stopped_.wait_until(lock, stop, wake, [] { return false; });
        if (stop.stop_requested()) return false;
    }
    // Spin without giving the processor away: a yield under load can cost a whole time slice.
    while (Clock::now() < end) {
        if (stop.stop_requested()) return false;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    return true;
}
