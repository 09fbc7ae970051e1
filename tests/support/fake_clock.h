// Time that passes at once: sleeps are counted and logged ("sleep 20"), the precise stretch is
// logged ("precise on", "precise off"), and onSleep lets a test act after sleep n.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock_port.h"
#include "support/event_log.h"

struct FakeClock : ClockPort {
    explicit FakeClock(EventLog& eventLog) : log(eventLog) {}

    // A stop requested by onSleep ends the sleep early, as it would during a real one.
    bool WaitMs(std::uint32_t ms, std::stop_token stop) override {
        if (stop.stop_requested()) return false;
        ++sleeps;
        if (logSleeps) log.Addf("sleep %u", ms);
        if (onSleep) onSleep(sleeps);
        return !stop.stop_requested();
    }
    void BeginPrecise() override { log.Add("precise on"); }
    void EndPrecise() override { log.Add("precise off"); }

    EventLog& log;
    long sleeps = 0;
    bool logSleeps = true;
    std::function<void(long)> onSleep;
};
