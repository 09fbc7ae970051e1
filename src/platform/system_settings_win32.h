// The system settings port of the program: pointer speed and wheel scroll lines through
// SystemParametersInfoW, written to the user profile so they outlast the program.
#pragma once

#include "platform/system_settings_port.h"

class Win32SystemSettings : public SystemSettingsPort {
public:
    std::optional<int> MouseSpeed() override;
    // Saved and broadcast, so programs that cache the speed see the change.
    bool SetMouseSpeed(int speed) override;
    std::optional<unsigned> WheelScrollLines() override;
    // Saved only: the wheel lines are read when a wheel message is handled.
    bool SetWheelScrollLines(unsigned lines) override;
};
