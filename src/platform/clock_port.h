// Waiting between injected events. Tests use a fake that records the delays; the program uses a
// sleeper accurate to a millisecond while a macro plays.
#pragma once

#include <cstdint>
#include <stop_token>

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Waits ms milliseconds (0 returns at once), or less when stop is requested meanwhile: a
    // macro's long pause must not hold up a stop or the program's end. False when stopped
    // (also when the stop came before the call).
    virtual bool WaitMs(std::uint32_t ms, std::stop_token stop) = 0;
    void SleepMs(std::uint32_t ms) { WaitMs(ms, std::stop_token{}); }
    // Bracket a stretch of timing-sensitive waits (a macro's playback), so an implementation
    // can raise the system timer's resolution only for that long.
    virtual void BeginPrecise() {}
    virtual void EndPrecise() {}
};

// BeginPrecise/EndPrecise for a scope.
class PreciseTiming {
public:
    explicit PreciseTiming(ClockPort& clock) : clock_(clock) { clock_.BeginPrecise(); }
    ~PreciseTiming() { clock_.EndPrecise(); }
    PreciseTiming(const PreciseTiming&) = delete;
    PreciseTiming& operator=(const PreciseTiming&) = delete;

private:
    ClockPort& clock_;
};
