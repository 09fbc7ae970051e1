#include "actions/function_catalogue.h"

std::optional<std::uint8_t> DeviceMappingOf(std::int32_t code) {
    if (IsHostCode(code)) return kHostMode;
    if (code >= 0 && code <= 5) return static_cast<std::uint8_t>(code);
    if (code >= 11 && code <= 16) return static_cast<std::uint8_t>(code - 4);
    if (code >= 21 && code <= 25) return static_cast<std::uint8_t>(code - 8);
    return std::nullopt;
}

int DpiDirectionOf(std::int32_t code) {
    switch (code) {
        case 6: return 2;
        case 17: return 1;
        case 18: return -1;
        default: return 0;
    }
}

bool IsHostCode(std::int32_t code) { return code == 6 || (code >= 17 && code <= 19) || (code >= 26 && code <= 52); }

std::uint8_t HardwareButtonId(int button) {
    if (button < 1 || button > kButtonCount) return 0;
    return kHardwareButtonIds[static_cast<std::size_t>(button - 1)];
}

std::optional<int> ButtonOfPressCode(std::uint8_t code) {
    for (int button = 1; button <= kButtonCount; ++button) {
        if (code == kPressCodeBase + HardwareButtonId(button)) return button;
    }
    return std::nullopt;
}
