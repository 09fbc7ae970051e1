#include "device/button_mapping.h"

#include "config/function_catalogue.h"

std::optional<std::uint8_t> DeviceMappingOf(std::int32_t code) {
    const FunctionEntry& function = FunctionOf(code);
    switch (function.performer) {
        case Performer::Mouse: return function.mouseFunction;
        case Performer::Host: return kHostMode;
        case Performer::Outside: break;
    }
    return std::nullopt;
}

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
