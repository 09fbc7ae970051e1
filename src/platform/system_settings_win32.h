// The system settings port of the program: pointer speed and wheel scroll lines through
// SystemParametersInfoW, written to the user profile so they outlast the program.
#pragma once

#include "platform/system_settings_port.h"

// Sets the pointer speed (1 to 20) with SystemParametersInfoW's flags; nothing else, so a crash
// filter may call it. Windows takes the speed from pvParam, Wine from uiParam: it goes in both,
// or Wine sets the speed to 0 and the pointer stops.
bool SetPointerSpeed(int speed, unsigned flags) noexcept;

class Win32SystemSettings : public SystemSettingsPort {
public:
    std::optional<int> MouseSpeed() override;
    // Saved and broadcast, so programs that cache the speed see the change.
    bool SetMouseSpeed(int speed) override;
    std::optional<unsigned> WheelScrollLines() override;
    // Saved only: the wheel lines are read when a wheel message is handled.
    bool SetWheelScrollLines(unsigned lines) override;
};
