#include <gtest/gtest.h>

#include "config/active_config.h"

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

TEST(ActiveConfigTest, StageEnablesMoveTheCurrentStageCyclicallyAndKeepTheLastOne) {
    ActiveConfig config;
    config.DPI_SET_EN = {0, 1, 0, 1};
    config.DPI_LEVEL = 3;
    config.ToggleStageEnabled(3);  // stage 0 comes first after 3, but is disabled
    EXPECT_EQ(config.DPI_LEVEL, 1);
    EXPECT_EQ(config.DPI_SET_EN, (std::array<std::uint8_t, kDpiStageCount>{0, 1, 0, 0}));
    config.ToggleStageEnabled(1);  // the last enabled stage stays enabled and current
    EXPECT_EQ(config.DPI_SET_EN[1], 1);
    EXPECT_EQ(config.DPI_LEVEL, 1);
    config.SelectStage(2);  // disabled: cannot be made current
    EXPECT_EQ(config.DPI_LEVEL, 1);
    config.ToggleStageEnabled(2);
    config.SelectStage(2);
    EXPECT_EQ(config.DPI_LEVEL, 2);
    config.ToggleStageEnabled(1);  // not the current stage: only disabled
    EXPECT_EQ(config.DPI_LEVEL, 2);
    EXPECT_EQ(config.DPI_SET_EN[1], 0);
    config.ToggleStageEnabled(9);  // no such stage
    config.SelectStage(-1);
    EXPECT_EQ(config.DPI_LEVEL, 2);
}

TEST(ActiveConfigTest, SomeButtonAlwaysKeepsTheLeftClick) {
    ActiveConfig config;
    config.K = {1, 2, 3, 5, 4, 18, 17};
    config.SetButtonFunction(2, 3);
    EXPECT_EQ(config.K[1], 3);
    EXPECT_EQ(config.K[0], 1);
    config.SetButtonFunction(1, 2);  // the only left click goes: the next button takes it
    EXPECT_EQ(config.K[0], 2);
    EXPECT_EQ(config.K[1], 1);
    config.K = {2, 2, 3, 5, 4, 18, 1};
    config.SetButtonFunction(7, 2);  // the last button takes it back itself
    EXPECT_EQ(config.K[6], 1);
    EXPECT_FALSE(config.OtherButtonHasLeftClick(7));
    EXPECT_TRUE(config.OtherButtonHasLeftClick(1));
    config.SetFireTime(1000);
    EXPECT_EQ(config.FIRE_TIME, kFireTimeMax);
    config.SetFireTime(-4);
    EXPECT_EQ(config.FIRE_TIME, 0);
}
