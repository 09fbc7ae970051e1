// The catalogue of button function codes: which codes the mouse performs itself (and with which
// device function byte), which the host performs, and how the configuration's buttons are
// numbered on the mouse.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/active_config.h"

// Device function byte that makes the mouse report the button to the host instead.
constexpr std::uint8_t kHostMode = 31;
// Input report code of a press: kPressCodeBase + the button's hardware id.
constexpr std::uint8_t kPressCodeBase = 0xF0;

// The device function byte of a code (kHostMode for every host code); nothing for a code outside
// the catalogue (7 to 10, 20, negative, above 52).
std::optional<std::uint8_t> DeviceMappingOf(std::int32_t code);

// DPI stepping of a host code: 2 cycle (code 6), 1 up (17), -1 down (18), 0 for every other code.
int DpiDirectionOf(std::int32_t code);

// True for the codes the host performs: 6, 17 to 19 and 26 to 52.
bool IsHostCode(std::int32_t code);

// The mouse's own number of configuration buttons 1..7 (buttons 4 and 5 are crossed over and
// button 7 is the mouse's button 8).
inline constexpr std::array<std::uint8_t, kButtonCount> kHardwareButtonIds = {1, 2, 3, 5, 4, 6, 8};

// Hardware id of configuration button 1..7; 0 (no button) for any other number.
std::uint8_t HardwareButtonId(int button);

// The configuration button 1..7 whose press the mouse reports with this code; nothing when none.
std::optional<int> ButtonOfPressCode(std::uint8_t code);
