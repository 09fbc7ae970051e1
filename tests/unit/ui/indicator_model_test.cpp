#include <gtest/gtest.h>

#include "ui/indicator_model.h"

namespace {

constexpr LanguageMode kEnglish = LanguageMode::English;
constexpr LanguageMode kChinese = LanguageMode::Chinese;

const IndicatorState kStart{.slot = 1, .dpiStage = 0, .ledMode = 2, .program = u""};

IndicatorState With(IndicatorState state, auto change) {
    change(state);
    return state;
}

TEST(IndicatorText, NamesWhatChangedInEitherLanguageAndNothingElse) {
    EXPECT_EQ(IndicatorText(kStart, kStart, kEnglish), u"");
    EXPECT_EQ(IndicatorText(kStart, kStart, kChinese), u"");

    const IndicatorState slot3 = With(kStart, [](auto& s) { s.slot = 3; });
    EXPECT_EQ(IndicatorText(kStart, slot3, kEnglish), u"Slot 3");
    EXPECT_EQ(IndicatorText(kStart, slot3, kChinese), u"配置 3");

    // The stage is 0-based inside, counted from 1 on screen.
    const IndicatorState stage = With(kStart, [](auto& s) { s.dpiStage = 1; });
    EXPECT_EQ(IndicatorText(kStart, stage, kEnglish), u"DPI stage 2");
    EXPECT_EQ(IndicatorText(kStart, stage, kChinese), u"DPI 档位 2");

    const std::u16string english[] = {u"LED: slow blink", u"LED: fast blink", u"LED: steady", u"LED: off"};
    const std::u16string chinese[] = {u"灯光：慢闪", u"灯光：快闪", u"灯光：常亮", u"灯光：关闭"};
    for (std::uint8_t mode = 0; mode < 4; ++mode) {
        const IndicatorState from = With(kStart, [&](auto& s) { s.ledMode = (mode + 1) % 4; });
        const IndicatorState to = With(kStart, [&](auto& s) { s.ledMode = mode; });
        EXPECT_EQ(IndicatorText(from, to, kEnglish), english[mode]) << int(mode);
        EXPECT_EQ(IndicatorText(from, to, kChinese), chinese[mode]) << int(mode);
    }

    // Several changes at once: one line each, slot first; the running program rides on the slot's line.
    const IndicatorState game{.slot = 4, .dpiStage = 3, .ledMode = 3, .program = u"game.exe"};
    EXPECT_EQ(IndicatorText(kStart, game, kEnglish), u"Slot 4 · game.exe\nDPI stage 4\nLED: off");
    EXPECT_EQ(IndicatorText(kStart, game, kChinese), u"配置 4 · game.exe\nDPI 档位 4\n灯光：关闭");
    // Only the stage changed while a program runs: the slot's line stays away.
    EXPECT_EQ(IndicatorText(game, With(game, [](auto& s) { s.dpiStage = 0; }), kEnglish), u"DPI stage 1");
    // Another program on the same slot, and the program ending, show the slot's line.
    EXPECT_EQ(IndicatorText(game, With(game, [](auto& s) { s.program = u"edit.exe"; }), kEnglish), u"Slot 4 · edit.exe");
    EXPECT_EQ(IndicatorText(game, With(game, [](auto& s) { s.program.clear(); }), kChinese), u"配置 4");
}

TEST(IndicatorText, ValuesOutOfRangeAreLeftOut) {
    for (const int slot : {0, 6, -1, 1000}) {
        EXPECT_EQ(IndicatorText(kStart, With(kStart, [&](auto& s) { s.slot = slot; }), kEnglish), u"") << slot;
    }
    EXPECT_EQ(IndicatorText(kStart, With(kStart, [](auto& s) { s.slot = 9; s.program = u"a.exe"; }), kEnglish),
              u"a.exe");
    for (const int stage : {-1, 4, 1 << 30}) {
        EXPECT_EQ(IndicatorText(kStart, With(kStart, [&](auto& s) { s.dpiStage = stage; }), kChinese), u"") << stage;
    }
    for (const int mode : {4, 255}) {
        const IndicatorState odd = With(kStart, [&](auto& s) { s.ledMode = static_cast<std::uint8_t>(mode); });
        EXPECT_EQ(IndicatorText(kStart, odd, kEnglish), u"") << mode;
        // What is in range still shows beside what is not.
        EXPECT_EQ(IndicatorText(kStart, With(odd, [](auto& s) { s.slot = 5; }), kEnglish), u"Slot 5") << mode;
    }
}

TEST(IndicatorWanted, OnlyWhenOnAndTheMainWindowIsHiddenOrBehind) {
    EXPECT_FALSE(IndicatorWanted(true, true, true));
    EXPECT_TRUE(IndicatorWanted(true, true, false));
    EXPECT_TRUE(IndicatorWanted(true, false, false));
    EXPECT_TRUE(IndicatorWanted(true, false, true));  // hidden in the tray, still "foreground" by handle
    EXPECT_FALSE(IndicatorWanted(false, false, false));
    EXPECT_FALSE(IndicatorWanted(false, true, false));
}

TEST(IndicatorPlacement, BottomCentreOfTheWorkAreaAndNeverOutsideIt) {
    // A second monitor left of and above the primary one.
    const PixelRect work{-1920, -200, 0, 880};
    const PixelRect placed = IndicatorPlacement(work, {200, 60});
    EXPECT_EQ(placed, (PixelRect{-1060, 880 - kIndicatorBottomMargin - 60, -860, 880 - kIndicatorBottomMargin}));

    // Too short for the margin: at the top, still whole.
    EXPECT_EQ(IndicatorPlacement({100, 50, 500, 100}, {300, 40}), (PixelRect{150, 50, 450, 90}));
    // Larger than the work area: cut down to it.
    EXPECT_EQ(IndicatorPlacement({100, 50, 300, 80}, {500, 90}), (PixelRect{100, 50, 300, 80}));
    // An empty or inverted work area gives an empty rectangle at its corner, not one outside it.
    EXPECT_EQ(IndicatorPlacement({10, 20, 5, 15}, {50, 30}), (PixelRect{10, 20, 10, 20}));
    EXPECT_TRUE(IndicatorPlacement({0, 0, 800, 600}, {-5, -5}).Empty());
}

}  // namespace
