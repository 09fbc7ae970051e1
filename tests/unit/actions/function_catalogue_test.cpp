#include "actions/function_catalogue.h"

#include <climits>

#include <gtest/gtest.h>

TEST(FunctionCatalogue, DeviceFunctionsKeepOrShiftTheirNumbers) {
    for (int code = 0; code <= 5; ++code) EXPECT_EQ(DeviceMappingOf(code), code) << code;
    EXPECT_EQ(DeviceMappingOf(11), 7);
    EXPECT_EQ(DeviceMappingOf(16), 12);
    EXPECT_EQ(DeviceMappingOf(21), 13);
    EXPECT_EQ(DeviceMappingOf(25), 17);
}

TEST(FunctionCatalogue, HostCodesPutTheButtonIntoHostMode) {
    for (int code : {6, 17, 18, 19, 26, 27, 30, 31, 35, 40, 41, 52}) {
        EXPECT_EQ(DeviceMappingOf(code), kHostMode) << code;
        EXPECT_TRUE(IsHostCode(code)) << code;
    }
    // The host mode byte is never one of the device functions, so the two sets never overlap.
    for (int code = -20; code <= 80; ++code) {
        EXPECT_EQ(IsHostCode(code), DeviceMappingOf(code) == kHostMode) << code;
        if (const auto mapping = DeviceMappingOf(code); mapping && *mapping != kHostMode) {
            EXPECT_LE(*mapping, 17) << code;
        }
    }
}

TEST(FunctionCatalogue, CodesOutsideTheCatalogueHaveNoDeviceFunction) {
    for (int code : {7, 8, 9, 10, 20, -1, 53, 54, 1000, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(DeviceMappingOf(code).has_value()) << code;
        EXPECT_FALSE(IsHostCode(code)) << code;
        EXPECT_EQ(DpiDirectionOf(code), 0) << code;
    }
}

TEST(FunctionCatalogue, OnlyTheThreeDpiCodesStepTheStage) {
    EXPECT_EQ(DpiDirectionOf(6), 2);
    EXPECT_EQ(DpiDirectionOf(17), 1);
    EXPECT_EQ(DpiDirectionOf(18), -1);
    for (int code : {0, 1, 5, 16, 19, 26, 40, 41}) EXPECT_EQ(DpiDirectionOf(code), 0) << code;
}

TEST(FunctionCatalogue, HardwareButtonIdsCrossFourAndFiveAndEndAtEight) {
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
