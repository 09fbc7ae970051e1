#include "device/button_mapping.h"

#include <climits>

#include <gtest/gtest.h>

TEST(ButtonMapping, EveryCodeDownloadsTheSameByteAsBefore) {
    // The mouse functions keep their number or shift down past the gaps at 6 and 17..20; every
    // host code puts the button into host mode.
    const auto expected = [](std::int32_t code) -> std::optional<std::uint8_t> {
        if (code == 6 || (code >= 17 && code <= 19) || (code >= 26 && code <= 52)) return kHostMode;
        if (code >= 0 && code <= 5) return static_cast<std::uint8_t>(code);
        if (code >= 11 && code <= 16) return static_cast<std::uint8_t>(code - 4);
        if (code >= 21 && code <= 25) return static_cast<std::uint8_t>(code - 8);
        return std::nullopt;
    };
    for (std::int32_t code = -20; code <= 80; ++code) EXPECT_EQ(DeviceMappingOf(code), expected(code)) << code;
    for (std::int32_t code : {INT_MIN, INT_MIN + 1, INT_MAX, 1000, 255, 256}) {
        EXPECT_FALSE(DeviceMappingOf(code).has_value()) << code;
    }
}

TEST(ButtonMapping, HardwareButtonIdsCrossFourAndFiveAndEndAtEight) {
    const int expected[] = {1, 2, 3, 5, 4, 6, 8};
    for (int button = 1; button <= 7; ++button) EXPECT_EQ(HardwareButtonId(button), expected[button - 1]);
    for (int button : {0, 8, -1, INT_MIN, INT_MAX}) EXPECT_EQ(HardwareButtonId(button), 0) << button;

    EXPECT_EQ(ButtonOfPressCode(0xF1), 1);
    EXPECT_EQ(ButtonOfPressCode(0xF5), 4);
    EXPECT_EQ(ButtonOfPressCode(0xF4), 5);
    EXPECT_EQ(ButtonOfPressCode(0xF8), 7);
    for (int code : {0x00, 0xF0, 0xF7, 0xF9, 0xFF, 0x01}) {
        EXPECT_FALSE(ButtonOfPressCode(static_cast<std::uint8_t>(code)).has_value()) << code;
    }
}
