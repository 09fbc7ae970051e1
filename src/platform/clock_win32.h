// The program's sleeper: a delay between two injected events kept within a millisecond. It waits
// on a high-resolution waitable timer (or a normal one with the timer resolution raised to 1 ms
// while a macro plays) until shortly before the end, then spins on the performance counter. A
// stop wakes the wait at once. One sleeper serves one thread.
#pragma once

#include "platform/clock_port.h"
#include "platform/handles_win32.h"

class PreciseSleeper : public ClockPort {
public:
    PreciseSleeper();
    ~PreciseSleeper() override;
    PreciseSleeper(const PreciseSleeper&) = delete;
    PreciseSleeper& operator=(const PreciseSleeper&) = delete;

    bool WaitMs(std::uint32_t ms, std::stop_token stop) override;
    void BeginPrecise() override;
    void EndPrecise() override;

    bool HighResolutionTimer() const { return highResolution_; }

private:
    OwnedHandle timer_;
    OwnedHandle stopped_;  // manual-reset event, set by a stop during a wait
    bool highResolution_ = false;
    int preciseDepth_ = 0;
    bool periodRaised_ = false;
    long long frequency_ = 0;  // performance counter ticks per second
    static constexpr double kMinLateUs = 200;
    static constexpr double kMaxLateUs = 20000;
    double lateUs_ = 1000;     // how late the timer has been waking, in microseconds
};
