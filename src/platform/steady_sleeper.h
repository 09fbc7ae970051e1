// The portable sleeper: sleeps most of the delay, then spins on the steady clock to its end, so
// a delay is kept within a fraction of a millisecond where the system's sleep is coarse.
#pragma once

#include "platform/clock_port.h"

class SteadySleeper : public ClockPort {
public:
    void SleepMs(std::uint32_t ms) override;
};
