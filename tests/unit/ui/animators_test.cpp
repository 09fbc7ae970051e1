#include "ui/animators.h"

#include <gtest/gtest.h>

namespace {
using std::chrono::milliseconds;
}  // namespace

TEST(BlinkIndicator, BlinksWhileWaitingOnTheMainPageAndEndsShown) {
    BlinkIndicator blink;
    EXPECT_EQ(blink.Start(true, true), milliseconds(500));
    EXPECT_TRUE(blink.Shown());
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(blink.Step(true, true), milliseconds(500));
        EXPECT_EQ(blink.Shown(), step % 2 == 0) << step;
    }
    EXPECT_FALSE(blink.Shown());
    EXPECT_EQ(blink.Step(true, false), std::nullopt);  // the mouse confirmed
    EXPECT_TRUE(blink.Shown());
    EXPECT_FALSE(blink.Running());

    // Off the main page, or with host actions on, it ends at once: at start or at the next step.
    EXPECT_EQ(blink.Start(false, true), std::nullopt);
    EXPECT_EQ(blink.Start(true, false), std::nullopt);
    EXPECT_FALSE(blink.Running());
    blink.Start(true, true);
    blink.Step(true, true);
    EXPECT_EQ(blink.Step(false, true), std::nullopt);
    EXPECT_TRUE(blink.Shown());
    EXPECT_EQ(blink.Step(true, true), std::nullopt);  // ended stays ended until started again
}

TEST(LedPreview, ModesZeroAndOneFlashThroughTheColoursFromTheStage) {
    for (std::uint8_t led : {0, 1}) {
        LedPreview preview;
        const milliseconds step = led == 1 ? milliseconds(800) : milliseconds(1200);
        EXPECT_EQ(preview.Start(true, led, 1), step);
        const std::vector<std::pair<bool, int>> expected = {{true, 2}, {false, 2}, {true, 3}, {false, 3}, {true, 0}};
        EXPECT_EQ(std::make_pair(preview.Off(), preview.Colour()), std::make_pair(true, 2));
        for (std::size_t i = 1; i < expected.size(); ++i) {
            EXPECT_EQ(preview.Step(true, led, 1), step);
            EXPECT_EQ(std::make_pair(preview.Off(), preview.Colour()), expected[i]) << i;
        }
        EXPECT_EQ(preview.Step(false, led, 1), std::nullopt);
        EXPECT_FALSE(preview.Running());
    }
}

TEST(LedPreview, ModesTwoAndThreeFollowTheStageLitOrUnlit) {
    for (std::uint8_t led : {2, 3}) {
        LedPreview preview;
        EXPECT_EQ(preview.Start(true, led, 1), milliseconds(1200));
        EXPECT_EQ(preview.Colour(), 1);
        EXPECT_EQ(preview.Step(true, led, 2), milliseconds(1200));
        EXPECT_EQ(preview.Colour(), 2);
        EXPECT_EQ(preview.Off(), led == 3);
    }
}

TEST(LedPreview, ANewStageShowsItsColourFirstAndStagesAreBounded) {
    LedPreview preview;
    preview.Start(true, 0, 0);
    EXPECT_EQ(preview.Step(true, 0, 3), milliseconds(2000));
    EXPECT_FALSE(preview.Off());
    EXPECT_EQ(preview.Colour(), 3);
    EXPECT_EQ(preview.Step(true, 0, 3), milliseconds(1200));  // one step more, unchanged
    EXPECT_EQ(preview.Colour(), 3);
    EXPECT_FALSE(preview.Off());
    EXPECT_EQ(preview.Step(true, 0, 3), milliseconds(1200));  // then it flashes on from there
    EXPECT_TRUE(preview.Off());
    EXPECT_EQ(preview.Colour(), 0);

    // Stages outside the four pictures are bounded; off the colour page nothing starts.
    LedPreview bounded;
    bounded.Start(true, 2, 77);
    EXPECT_EQ(bounded.Colour(), 3);
    EXPECT_EQ(bounded.Start(false, 2, -4), std::nullopt);
    EXPECT_EQ(bounded.Colour(), 0);
    EXPECT_FALSE(bounded.Running());
}
