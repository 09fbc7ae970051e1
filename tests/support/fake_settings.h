// Windows' pointer speed and wheel lines in memory: the queries answer 10 and 3 unless told to
// fail, the sets are kept and logged ("speed 8", "lines 3").
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/system_settings_port.h"
#include "support/event_log.h"

struct FakeSettings : SystemSettingsPort {
    std::optional<int> MouseSpeed() override {
        if (speedQueryFails) return std::nullopt;
        return 10;
    }
    bool SetMouseSpeed(int value) override {
        speed = value;
        if (log) log->Add("speed " + std::to_string(value));
        if (onSet) onSet();
        return true;
    }
    std::optional<unsigned> WheelScrollLines() override {
        if (linesQueryFails) return std::nullopt;
        return 3;
    }
    bool SetWheelScrollLines(unsigned value) override {
        lines = value;
        if (log) log->Add("lines " + std::to_string(value));
        return true;
    }

    EventLog* log = nullptr;
    bool speedQueryFails = false;
    bool linesQueryFails = false;
    std::optional<int> speed;  // the last set
    std::optional<unsigned> lines;
    std::function<void()> onSet;  // runs inside the set of the pointer speed
};
