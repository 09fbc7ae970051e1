#include "platform/system_settings_win32.h"

#include <windows.h>

#include <cstdint>

std::optional<int> Win32SystemSettings::MouseSpeed() {
    int speed = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0)) return std::nullopt;
    return speed;
}

bool SetPointerSpeed(int speed, unsigned flags) noexcept {
    // The speed travels in pvParam itself, not behind a pointer.
    return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                 reinterpret_cast<PVOID>(static_cast<std::intptr_t>(speed)), flags) != FALSE;
}

bool Win32SystemSettings::SetMouseSpeed(int speed) { return SetPointerSpeed(speed, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE); }

std::optional<unsigned> Win32SystemSettings::WheelScrollLines() {
    UINT lines = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return std::nullopt;
    return lines;
}

bool Win32SystemSettings::SetWheelScrollLines(unsigned lines) {
    return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE) != FALSE;
}
