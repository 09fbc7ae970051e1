// The Windows settings the program changes persistently: pointer speed and wheel scroll lines.
// The Windows side implements it with SystemParametersInfoW; tests with a fake that records.
#pragma once

#include <optional>

class SystemSettingsPort {
public:
    virtual ~SystemSettingsPort() = default;
    // SPI_GETMOUSESPEED (1..20); nothing when the query fails.
    virtual std::optional<int> MouseSpeed() = 0;
    // SPI_SETMOUSESPEED, saved to the user profile and broadcast.
    virtual bool SetMouseSpeed(int speed) = 0;
    // SPI_GETWHEELSCROLLLINES; nothing when the query fails.
    virtual std::optional<unsigned> WheelScrollLines() = 0;
    // SPI_SETWHEELSCROLLLINES, saved to the user profile (not broadcast).
    virtual bool SetWheelScrollLines(unsigned lines) = 0;
};
