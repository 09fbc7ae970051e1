// The portable sleeper: sleeps most of the delay, then spins on the steady clock to its end, so
// a delay is kept within a fraction of a millisecond where the system's sleep is coarse. A stop
// ends the sleep at once.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/clock_port.h"

class SteadySleeper : public ClockPort {
public:
    bool WaitMs(std::uint32_t ms, std::stop_token stop) override;

private:
    std::mutex mutex_;
    std::condition_variable_any stopped_;
};
