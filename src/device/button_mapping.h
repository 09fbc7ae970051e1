// How the mouse numbers buttons and functions: the function byte that a code downloads (host mode
// for every host code), the mouse's own id of each configuration button, and the press codes of
// its input reports.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "config/active_config.h"

// Device function byte that makes the mouse report the button to the host instead.
constexpr std::uint8_t kHostMode = 31;
// Input report code of a press: kPressCodeBase + the button's hardware id.
constexpr std::uint8_t kPressCodeBase = 0xF0;

// The device function byte of a code (kHostMode for every host code); nothing for a code outside
// the catalogue (7 to 10, 20, negative, above 52).
std::optional<std::uint8_t> DeviceMappingOf(std::int32_t code);

// The mouse's own number of configuration buttons 1..7 (buttons 4 and 5 are crossed over and
// button 7 is the mouse's button 8).
inline constexpr std::array<std::uint8_t, kButtonCount> kHardwareButtonIds = {1, 2, 3, 5, 4, 6, 8};

// Hardware id of configuration button 1..7; 0 (no button) for any other number.
std::uint8_t HardwareButtonId(int button);

// The configuration button 1..7 whose press the mouse reports with this code; nothing when none.
std::optional<int> ButtonOfPressCode(std::uint8_t code);
