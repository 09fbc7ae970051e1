// The program's sleeper: a delay between two injected events kept within a millisecond. It waits
// on a high-resolution waitable timer (or a normal one with the timer resolution raised to 1 ms
// while a macro plays) until shortly before the end, then spins on the performance counter.
// One sleeper serves one thread.
#pragma once

#include "platform/clock_port.h"
#include "platform/handles_win32.h"

class PreciseSleeper : public ClockPort {
public:
    PreciseSleeper();
    ~PreciseSleeper() override;
    PreciseSleeper(const PreciseSleeper&) = delete;
    PreciseSleeper& operator=(const PreciseSleeper&) = delete;

    void SleepMs(std::uint32_t ms) override;
    void BeginPrecise() override;
    void EndPrecise() override;

    bool HighResolutionTimer() const { return highResolution_; }

private:
    OwnedHandle timer_;
    bool highResolution_ = false;
    int preciseDepth_ = 0;
    bool periodRaised_ = false;
    long long frequency_ = 0;  // performance counter ticks per second
    static constexpr double kMinLateUs = 200;
    static constexpr double kMaxLateUs = 20000;
    double lateUs_ = 1000;     // how late the timer has been waking, in microseconds
};
