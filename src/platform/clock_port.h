// Waiting between injected events. Tests use a fake that records the delays; the program uses a
// sleeper accurate to a millisecond while a macro plays.
#pragma once

#include <cstdint>

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Waits ms milliseconds (0 returns at once).
    virtual void SleepMs(std::uint32_t ms) = 0;
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
