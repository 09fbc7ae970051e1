#include "skin/menu_look.h"

#include <gtest/gtest.h>

TEST(MenuLook, ItemSizeCountsUtf16UnitsAndTrailingSpaces) {
    EXPECT_EQ(MenuItemSizeOf(u"项前插入    ", 32800), (MenuItemSize{64, 20}));
    EXPECT_EQ(MenuItemSizeOf(u"Modify Delay", -1), (MenuItemSize{96, 20}));
    EXPECT_EQ(MenuItemSizeOf(u"", kMenuSeparatorId).height, 1);
}

TEST(MenuLook, GradientStepsGreenByATruncatedEighteenth) {
    EXPECT_EQ(MenuGradientRow(0, 18), (Rgb{0, 0, 255}));
    EXPECT_EQ(MenuGradientRow(1, 18), (Rgb{0, 14, 255}));   // 255 / 18 = 14.17
    EXPECT_EQ(MenuGradientRow(17, 18), (Rgb{0, 238, 255}));
    EXPECT_EQ(MenuGradientRow(5, 0), (Rgb{0, 0, 255}));     // no inner rows: no division
}
