#include <gtest/gtest.h>

#include "core/active_config.h"

TEST(ActiveConfigTest, BuiltInDefaultsKeepMacroModeAndDeriveValueItems) {
    ActiveConfig config;
    config.MACRO_MODE2 = 1;
    config.K[0] = 44;
    SetBuiltInDefaults(config);
    EXPECT_EQ(config.MACRO_MODE2, 1);
    EXPECT_EQ(config.K, (std::array<std::int32_t, 7>{1, 2, 3, 5, 4, 18, 17}));
    EXPECT_EQ(config.ValueItem, (std::array<std::int32_t, 4>{61, 67, 74, 75}));
    EXPECT_EQ(config.DPI_SET, (std::array<std::uint8_t, 4>{1, 2, 4, 0}));
    EXPECT_EQ(config.AppliedStageValues, config.DPI_SET);
    EXPECT_EQ(config.FIRE_TIME, 50);
    EXPECT_EQ(config.DPI_SPEED, 4);
    EXPECT_EQ(config.WHEEL_SPEED, 2);
}

TEST(ActiveConfigTest, OutOfRangeValuesAreKeptButBoundedForIndexing) {
    ActiveConfig config;
    config.DPI_LEVEL = 7;
    config.DPI_SET = {255, 4, 5, 0};
    config.LED_STATUS = 200;
    EXPECT_EQ(config.DPI_LEVEL, 7);
    EXPECT_EQ(config.BoundedDpiLevel(), 3);
    EXPECT_EQ(config.BoundedStageValue(0), 4);
    EXPECT_EQ(config.BoundedStageValue(2), 4);
    EXPECT_EQ(config.BoundedStageValue(3), 0);
    EXPECT_EQ(config.BoundedStageValue(9), 0);  // stage index itself out of range
    EXPECT_EQ(config.BoundedLedStatus(), 3);
    config.DPI_LEVEL = -5;
    EXPECT_EQ(config.BoundedDpiLevel(), 0);
}

TEST(ActiveConfigTest, MacroModeToggleTreatsAnyNonZeroAsOn) {
    ActiveConfig config;
    config.ToggleMacroMode2();
    EXPECT_EQ(config.MACRO_MODE2, 1);
    config.MACRO_MODE2 = 5;
    config.ToggleMacroMode2();
    EXPECT_EQ(config.MACRO_MODE2, 0);
}
