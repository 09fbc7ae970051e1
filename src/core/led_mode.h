// The LED modes of LED_STATUS, as the mouse and the colour page number them.
#pragma once

#include <cstdint>

enum LedMode : std::uint8_t { kLedSlow = 0, kLedFast = 1, kLedSteady = 2, kLedOff = 3 };
constexpr int kLedModeCount = 4;
