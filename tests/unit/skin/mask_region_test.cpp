#include "skin/mask_region.h"

#include <gtest/gtest.h>

#include <random>

namespace {

RgbPicture Filled(std::int32_t width, std::int32_t height, Rgb colour) {
    RgbPicture picture{width, height, {}};
    for (std::int32_t i = 0; i < width * height; ++i) {
        picture.pixels.insert(picture.pixels.end(), {colour.red, colour.green, colour.blue});
    }
    return picture;
}

void Set(RgbPicture& picture, std::int32_t x, std::int32_t y, Rgb colour) {
    const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    picture.pixels[at] = colour.red;
    picture.pixels[at + 1] = colour.green;
    picture.pixels[at + 2] = colour.blue;
}

// The shape holds exactly the pixels the rule keeps, as disjoint rectangles in y-x banded order.
void ExpectShapeFollowsRule(const RgbPicture& mask, const MaskShape& shape) {
    EXPECT_EQ(shape.width, mask.width);
    EXPECT_EQ(shape.height, mask.height);
    for (std::int32_t y = 0; y < mask.height; ++y) {
        for (std::int32_t x = 0; x < mask.width; ++x) {
            int covering = 0;
            for (const PixelRect& r : shape.rects) covering += r.Contains(x, y) ? 1 : 0;
            ASSERT_EQ(covering, KeepsMaskPixel(mask.At(x, y)) ? 1 : 0) << "pixel " << x << "," << y;
        }
    }
    for (std::size_t i = 1; i < shape.rects.size(); ++i) {
        const PixelRect& a = shape.rects[i - 1];
        const PixelRect& b = shape.rects[i];
        ASSERT_FALSE(a.Empty());
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom) << "one band, one height";
            EXPECT_LE(a.right, b.left) << "sorted left to right within a band";
        } else {
            EXPECT_LE(a.bottom, b.top) << "bands sorted top to bottom";
        }
    }
}

TEST(MaskShape, LightPixelsAreCutAndEveryOtherPixelStays) {
    RgbPicture mask = Filled(4, 1, {0, 0, 0});
    Set(mask, 0, 0, {101, 101, 101});
    Set(mask, 1, 0, {255, 255, 100});
    Set(mask, 2, 0, {100, 200, 200});
    Set(mask, 3, 0, {255, 255, 255});
    const MaskShape shape = BuildMaskShape(mask, 9, 9);
    EXPECT_FALSE(shape.Contains(0, 0));
    EXPECT_TRUE(shape.Contains(1, 0));
    EXPECT_TRUE(shape.Contains(2, 0));
    EXPECT_FALSE(shape.Contains(3, 0));
    EXPECT_EQ(shape.rects, (std::vector<PixelRect>{{1, 0, 3, 1}}));
}

TEST(MaskShape, PlainMasksGiveARectangleOrNothing) {
    const MaskShape black = BuildMaskShape(Filled(30, 20, {0, 0, 0}), 1, 1);
    EXPECT_EQ(black.rects, (std::vector<PixelRect>{{0, 0, 30, 20}}));
    EXPECT_EQ(black.width, 30);
    EXPECT_EQ(black.height, 20);

    const MaskShape white = BuildMaskShape(Filled(30, 20, {255, 255, 255}), 1, 1);
    EXPECT_TRUE(white.rects.empty());
    EXPECT_EQ(white.width, 30);  // the size still sets what the window paints
}

TEST(MaskShape, MissingOrUndecodableMaskGivesTheDialogRectangle) {
    const std::vector<PixelRect> dialog{{0, 0, 800, 640}};
    EXPECT_EQ(BuildMaskShape(std::nullopt, 800, 640).rects, dialog);
    RgbPicture truncated = Filled(10, 10, {0, 0, 0});
    truncated.pixels.resize(299);
    EXPECT_EQ(BuildMaskShape(truncated, 800, 640).rects, dialog);
    EXPECT_EQ(BuildMaskShape(RgbPicture{0, 10, {}}, 800, 640).rects, dialog);
    EXPECT_EQ(BuildMaskShape(RgbPicture{-5, -5, {}}, 800, 640).rects, dialog);
    EXPECT_EQ(BuildMaskShape(RgbPicture{kMaxMaskSide + 1, 1, std::vector<std::uint8_t>((kMaxMaskSide + 1) * 3)}, 800, 640).rects,
              dialog);
    const MaskShape none = BuildMaskShape(std::nullopt, -1, 5);
    EXPECT_TRUE(none.rects.empty());
    EXPECT_EQ(none.width, 0);
    // Reading pixels of an invalid picture never reaches past its buffer.
    EXPECT_EQ(truncated.At(9, 9), Rgb{});
    EXPECT_EQ(Filled(2, 2, {7, 8, 9}).At(2, 0), Rgb{});
}

TEST(MaskShape, OutlineWithHolesIsCoveredExactly) {
    // A rounded blob with a hole and a detached island, the way a mouse outline looks.
    RgbPicture mask = Filled(40, 30, {255, 255, 255});
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int dx = x - 20, dy = y - 15;
            if (dx * dx / 4 + dy * dy < 150) Set(mask, x, y, {20, 30, 40});
            if (dx * dx + dy * dy < 10) Set(mask, x, y, {230, 240, 250});
        }
    }
    Set(mask, 0, 29, {0, 0, 0});
    const MaskShape shape = BuildMaskShape(mask, 1, 1);
    ExpectShapeFollowsRule(mask, shape);
    EXPECT_LT(shape.rects.size(), 90u) << "rows with equal runs share a band";
}

TEST(MaskShape, FourBytePixelsInPaddedRowsGiveTheSameShape) {
    // The window's pictures are 32-bit rows, blue first; the mask reads them in place.
    RgbPicture mask = Filled(7, 5, {255, 255, 255});
    for (std::int32_t x = 1; x < 6; ++x) Set(mask, x, 2, {250, 240, 30});
    Set(mask, 3, 4, {10, 250, 250});
    const std::size_t stride = 7 * 4 + 12;
    std::vector<std::uint8_t> rows(stride * 5, 0xEE);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            const Rgb c = mask.At(x, y);
            std::uint8_t* pixel = rows.data() + y * stride + x * 4;
            pixel[0] = c.blue;
            pixel[1] = c.green;
            pixel[2] = c.red;
            pixel[3] = 0;
        }
    }
    const MaskShape fromRows = BuildMaskShape(MaskPixels{7, 5, rows.data(), stride, 4}, 1, 1);
    EXPECT_EQ(fromRows.rects, BuildMaskShape(mask, 1, 1).rects);
    ExpectShapeFollowsRule(mask, fromRows);
    // Rows too short for their pixels, or none, count as undecodable.
    EXPECT_EQ(BuildMaskShape(MaskPixels{7, 5, rows.data(), 7 * 4 - 1, 4}, 9, 8).rects, (std::vector<PixelRect>{{0, 0, 9, 8}}));
    EXPECT_EQ(BuildMaskShape(MaskPixels{7, 5, nullptr, stride, 4}, 9, 8).rects, (std::vector<PixelRect>{{0, 0, 9, 8}}));
}

TEST(MaskShape, NoisyJpegEdgesFollowTheRule) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(90, 110);
    RgbPicture mask = Filled(23, 17, {0, 0, 0});
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
            Set(mask, x, y, {static_cast<std::uint8_t>(channel(random)), static_cast<std::uint8_t>(channel(random)),
                             static_cast<std::uint8_t>(channel(random))});
        }
    }
    ExpectShapeFollowsRule(mask, BuildMaskShape(mask, 1, 1));
}

// A window-sized mask of noise would need a rectangle for most pixels: the shape keeps one span
// per row instead, from the row's first kept pixel to its last. A mask that does not fit the
// pictures it cuts gives their rectangle.
TEST(MaskShape, NoiseIsSimplifiedToRowOutlinesAndAMaskOfAnotherSizeToTheRectangle) {
    RgbPicture noise = Filled(760, 560, {255, 255, 255});
    for (int y = 0; y < 560; ++y) {
        for (int x = 2 + (y % 3); x < 758; x += 2) Set(noise, x, y, {0, 0, 0});
    }
    const MaskShape shape = BuildMaskShape(noise, 760, 560, true);
    EXPECT_LE(shape.rects.size(), 560u);
    EXPECT_TRUE(shape.Contains(4, 10));     // a cut-out pixel inside the row's outline
    EXPECT_FALSE(shape.Contains(0, 10));    // outside it
    EXPECT_FALSE(shape.Contains(759, 10));

    const MaskShape tiny = BuildMaskShape(Filled(1, 1, {0, 0, 0}), 760, 560, true);
    EXPECT_EQ(tiny.rects, (std::vector<PixelRect>{{0, 0, 760, 560}}));
    EXPECT_EQ(BuildMaskShape(Filled(1, 1, {0, 0, 0}), 760, 560).width, 1);  // no pictures to fit
}

}  // namespace
