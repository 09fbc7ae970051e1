#include "skin/paint_main_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "skin/skin_entries.h"
#include "support/recording_canvas.h"

namespace {

using namespace paint_colour;
using namespace MainEntry;
using AdvancedEntry::kFireBar;

// Entry i of each table at its own place, 8 x 16 pixels, so every copy names its entry.
SkinSet GridSkin() {
    SkinSet skin;
    std::int32_t tableOffset = 0;
    for (SkinPage* page : {&skin.main, &skin.advanced, &skin.colour}) {
        for (std::size_t i = 0; i < page->Size(); ++i) {
            *page->Find(static_cast<std::int64_t>(i)) = {static_cast<std::int32_t>(i * 10) + tableOffset,
                                                         static_cast<std::int32_t>(i * 20), 8, 16, u""};
        }
        tableOffset += 3;
    }
    for (int code = 1; code <= kFunctionNameCount; ++code) skin.functionNames[code - 1] = u"F" + DecimalText(code);
    return skin;
}

PixelRect RectOf(const SkinPage& page, int i) { return page.At(i).Rect(); }

std::vector<PixelRect> RectsOf(const SkinPage& page, std::initializer_list<int> entries) {
    std::vector<PixelRect> out;
    for (int i : entries) out.push_back(RectOf(page, i));
    return out;
}

std::vector<PixelRect> Sorted(std::vector<PixelRect> rects) {
    std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) {
        return std::tie(a.top, a.left, a.right, a.bottom) < std::tie(b.top, b.left, b.right, b.bottom);
    });
    rects.erase(std::unique(rects.begin(), rects.end()), rects.end());
    return rects;
}

PaintState MainState() {
    PaintState state;
    state.maskWidth = 760;
    state.maskHeight = 560;
    SetBuiltInDefaults(state.config);
    state.config.DPI_SET_EN = {1, 0, 1, 0};
    state.config.DPI_LEVEL = 2;
    state.curConfig = 3;
    state.mainHot = kNoEntry;
    return state;
}

TEST(PaintMainPage, AtRestOnlyTheSettingsAreCopiedOverTheNormalPicture) {
    const SkinSet skin = GridSkin();
    RecordingCanvas canvas;
    PaintMainWindow(canvas, skin, MainState());

    ASSERT_GE(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].kind, CanvasCall::Fill);
    EXPECT_EQ(canvas.calls[0].rect, (PixelRect{0, 0, 760, 560}));
    EXPECT_EQ(canvas.CopiesFrom(u"main_normal.jpg"), std::vector<PixelRect>{(PixelRect{0, 0, 760, 560})});
    EXPECT_TRUE(canvas.CopiesFrom(u"main_over.jpg").empty());
    // Not even loaded: the first paint of a start then needs one picture fewer decoded.
    EXPECT_EQ(canvas.LoadsOf(u"main_over.jpg"), 0);
    // Slot 3, the main tab, English, wheel setting 0, enabled stages 0 and 2, current stage 2.
    EXPECT_EQ(Sorted(canvas.CopiesFrom(u"main_down.jpg")),
              Sorted(RectsOf(skin.main, {Slot(3), Tab(WindowPage::Main), kEnglish, kWheelNormal, StageEnable(0),
                                         StageEnable(2), StageCurrent(2)})));
    // One knob per stage, on the factory steps 1, 2, 4 and 0, from the knob picture's corner.
    std::vector<PixelRect> knobs;
    for (const CanvasCall& call : canvas.calls) {
        if (call.kind != CanvasCall::Copy || call.picture != u"dpi_slider.jpg") continue;
        EXPECT_EQ(call.rect, (PixelRect{0, 0, 8, 16}));
        knobs.push_back({call.x, call.y, call.x + 8, call.y + 16});
    }
    EXPECT_EQ(knobs, RectsOf(skin.main, {StageStep(0, 1), StageStep(1, 2), StageStep(2, 4), StageStep(3, 0)}));
}

TEST(PaintMainPage, HoveredFunctionBoxLightsItsButtonAndNamesItInGreen) {
    SkinSet skin = GridSkin();
    PaintState state = MainState();
    state.mainHot = FunctionBox(3);
    state.config.K = {1, 2, 33, 0, 43, 60, -4};
    state.macroNames[2] = u"Combo";
    RecordingCanvas canvas;
    PaintMainWindow(canvas, skin, state);

    EXPECT_EQ(canvas.CopiesFrom(u"main_over.jpg"), RectsOf(skin.main, {FunctionBox(3), ButtonHighlight(3)}));
    const CanvasCall* name = canvas.TextCall(u"F33");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->colour, kGreen);
    EXPECT_EQ(name->x, skin.main.At(FunctionBox(3)).x + 5);  // left-aligned
    EXPECT_EQ(name->y, skin.main.At(FunctionBox(3)).y + (16 - 15) / 2);
    EXPECT_EQ(canvas.TextCall(u"F1")->colour, kWhite);
    EXPECT_EQ(canvas.TextCall(u"F1")->x, skin.main.At(FunctionBox(1)).x + 5);

    // Code 0 shows nothing, code 43 the name of macro slot 2, codes outside the catalogue nothing.
    EXPECT_EQ(canvas.TextCall(u"Combo")->x, skin.main.At(FunctionBox(5)).x + 5);
    for (const CanvasCall& text : canvas.Texts()) {
        for (int button : {4, 6, 7}) EXPECT_NE(text.x, skin.main.At(FunctionBox(button)).x + 5) << button;
    }

    // Pressed, the hovered box comes from the down picture; its button highlight stays over.
    state.pressed = true;
    RecordingCanvas pressed;
    PaintMainWindow(pressed, skin, state);
    EXPECT_EQ(pressed.CopiesFrom(u"main_over.jpg"), RectsOf(skin.main, {ButtonHighlight(3)}));
    EXPECT_EQ(pressed.CopiesFrom(u"main_down.jpg").front(), RectOf(skin.main, FunctionBox(3)));
}

TEST(PaintMainPage, StartKeyBlinksWithTheStatusLine) {
    SkinSet skin = GridSkin();
    PaintState state = MainState();
    state.driverActive = false;
    state.startKeyIndex = 4;
    state.blinkPhase = true;
    RecordingCanvas lit;
    PaintMainWindow(lit, skin, state);
    const CanvasCall* status = lit.TextCall(u"Configuration done,click key [4] to start driver");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->colour, kYellow);
    EXPECT_EQ(lit.CopiesFrom(u"main_over.jpg"), RectsOf(skin.main, {ButtonHighlight(4)}));

    state.blinkPhase = false;
    RecordingCanvas dark;
    PaintMainWindow(dark, skin, state);
    EXPECT_NE(dark.TextCall(u"Configuration done,click key [ ] to start driver"), nullptr);
    EXPECT_TRUE(dark.CopiesFrom(u"main_over.jpg").empty());
    const auto down = dark.CopiesFrom(u"main_down.jpg");
    EXPECT_NE(std::find(down.begin(), down.end(), RectOf(skin.main, ButtonHighlight(4))), down.end());

    state.language = LanguageMode::Chinese;
    EXPECT_EQ(StatusLineText(state), u"配置完成，请点击鼠标第[ ]键运行驱动");
    state.blinkPhase = true;
    EXPECT_EQ(StatusLineText(state), u"配置完成，请点击鼠标第[4]键运行驱动");
    state.driverActive = true;
    EXPECT_EQ(StatusLineText(state), u"驱动运行中...");
    state.language = LanguageMode::English;
    EXPECT_EQ(StatusLineText(state), u"OK,driver is working...");
    state.curConfig = 3;
    state.profileProgram = u"game.exe";
    EXPECT_EQ(StatusLineText(state), u"Slot 3 runs for game.exe");

    // A start key outside 1..7 highlights no entry.
    state.driverActive = false;
    state.startKeyIndex = 0;
    RecordingCanvas none;
    PaintMainWindow(none, skin, state);
    EXPECT_TRUE(none.CopiesFrom(u"main_over.jpg").empty());
}

TEST(PaintMainPage, TextsAreCentredAndStageLabelsShowTheirState) {
    SkinSet skin = GridSkin();
    *skin.main.Find(kButtonsHeading) = {100, 50, 20, 20, u"WIDE TEXT"};  // 63 pixels wide
    *skin.main.Find(StageLabel(0)) = {0, 0, 70, 15, u"STAGE 1"};
    *skin.main.Find(StageLabel(1)) = {0, 0, 71, 15, u"STAGE 2"};
    *skin.main.Find(StageLabel(3)) = {0, 0, 71, 15, u"STAGE 4"};
    *skin.main.Find(StageSelect(0)) = {0, 0, 71, 15, u"past the texts"};  // the main page draws none
    *skin.main.Find(kStatus) = {0, 0, 400, 20, u"skin text"};
    RecordingCanvas canvas;
    PaintMainWindow(canvas, skin, MainState());
    const CanvasCall* wide = canvas.TextCall(u"WIDE TEXT");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->x, 100 + (20 - 63) / 2);  // -21: truncated toward zero, reaching past both sides
    EXPECT_EQ(wide->y, 50 + (20 - 15) / 2);
    EXPECT_EQ(canvas.TextCall(u"STAGE 1")->colour, kRed);
    EXPECT_EQ(canvas.TextCall(u"STAGE 2")->colour, kGrey);
    EXPECT_EQ(canvas.TextCall(u"STAGE 4")->colour, kGrey);
    EXPECT_EQ(canvas.TextCall(u"past the texts"), nullptr);
    EXPECT_EQ(canvas.TextCall(u"skin text"), nullptr) << "the status line replaces the skin's text";
    EXPECT_EQ(canvas.TextCall(u"OK,driver is working...")->colour, kYellow);
    // Fonts are chosen once, before the first text.
    const auto font = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                   [](const CanvasCall& c) { return c.kind == CanvasCall::Font; });
    ASSERT_NE(font, canvas.calls.end());
    EXPECT_EQ(font->language, LanguageMode::English);
    EXPECT_LT(font - canvas.calls.begin(), std::find_if(canvas.calls.begin(), canvas.calls.end(), [](const CanvasCall& c) {
                  return c.kind == CanvasCall::Text;
              }) - canvas.calls.begin());
}

TEST(PaintMainPage, MissingPicturesLeaveTheirAreaAndThePaintGoesOn) {
    SkinSet skin = GridSkin();
    PaintState state = MainState();
    state.mainHot = FunctionBox(1);
    RecordingCanvas canvas;
    canvas.missing = {u"main_normal.jpg", u"main_over.jpg", u"dpi_slider.jpg"};
    PaintMainWindow(canvas, skin, state);
    EXPECT_EQ(canvas.calls[0].kind, CanvasCall::Fill);
    EXPECT_EQ(canvas.calls[0].colour, kBlack);
    EXPECT_TRUE(canvas.CopiesFrom(u"main_normal.jpg").empty());
    EXPECT_TRUE(canvas.CopiesFrom(u"main_over.jpg").empty());
    EXPECT_TRUE(canvas.CopiesFrom(u"dpi_slider.jpg").empty());
    // The hovered box and its button both want the missing hover picture: it is tried once.
    EXPECT_EQ(canvas.LoadsOf(u"main_over.jpg"), 1);
    EXPECT_FALSE(canvas.CopiesFrom(u"main_down.jpg").empty());
    EXPECT_NE(canvas.TextCall(u"F1"), nullptr);
}

TEST(PaintAdvancedPage, FireBarFillsInProportionToTheInterval) {
    SkinSet skin = GridSkin();
    *skin.advanced.Find(kFireBar) = {40, 300, 200, 18, u""};
    const auto barWidth = [&](std::int32_t fire) -> std::int64_t {
        PaintState state = MainState();
        state.page = WindowPage::Advanced;
        state.config.FIRE_TIME = fire;
        RecordingCanvas canvas;
        PaintMainWindow(canvas, skin, state);
        for (const PixelRect& r : canvas.CopiesFrom(u"advanced_down.jpg")) {
            if (r.left == 40 && r.top == 300) return r.Width();
        }
        return 0;
    };
    EXPECT_EQ(barWidth(0), 0);
    EXPECT_EQ(barWidth(150), 100);
    EXPECT_EQ(barWidth(300), 200);
    EXPECT_EQ(barWidth(1), 0);     // 200 / 300 truncated
    EXPECT_EQ(barWidth(299), 199);
    EXPECT_EQ(barWidth(5000), 200);  // a hand-edited value never paints past the bar
    EXPECT_EQ(barWidth(-20), 0);
}

TEST(PaintAdvancedPage, SettingsMarksAndLiveTexts) {
    SkinSet skin = GridSkin();
    using namespace AdvancedEntry;
    *skin.advanced.Find(kRecord) = {0, 0, 60, 20, u"skin"};
    *skin.advanced.Find(kFireValue) = {0, 0, 60, 20, u"skin"};
    PaintState state = MainState();
    state.page = WindowPage::Advanced;
    state.config.DPI_SPEED = 3;
    state.config.WHEEL_SPEED = 9;
    state.config.FIRE_TIME = 0;
    state.config.MACRO_MODE2 = 1;
    state.selectedRepeatMode = 1;
    state.recording = true;
    state.advancedHot = kRecord;
    state.mainHot = kClose;
    state.pressLines = 3;
    state.releaseLines = 12;
    RecordingCanvas canvas;
    PaintMainWindow(canvas, skin, state);

    // The hovered record button, then the frame's hovered close control.
    EXPECT_EQ(canvas.CopiesFrom(u"advanced_over.jpg"),
              (std::vector<PixelRect>{RectOf(skin.advanced, kRecord), RectOf(skin.main, kClose)}));
    // Recording, pointer speed 3, wheel speed 9, (no fire bar at 0), hold mode, repeat mark;
    // then the frame's slot 3, advanced tab and English button.
    EXPECT_EQ(canvas.CopiesFrom(u"advanced_down.jpg"),
              (std::vector<PixelRect>{RectOf(skin.advanced, kRecord), RectOf(skin.advanced, PointerSpeed(3)),
                                      RectOf(skin.advanced, WheelSpeed(9)), RectOf(skin.advanced, kMacroMode2),
                                      RectOf(skin.advanced, kRepeatMode), RectOf(skin.main, Slot(3)),
                                      RectOf(skin.main, Tab(WindowPage::Advanced)), RectOf(skin.main, kEnglish)}));
    EXPECT_EQ(canvas.TextCall(u"Stop")->colour, kRed);
    EXPECT_EQ(canvas.TextCall(u"0ms")->colour, kWhite);
    EXPECT_NE(canvas.TextCall(u"[↓]3"), nullptr);
    EXPECT_NE(canvas.TextCall(u"[↑]12"), nullptr);
    EXPECT_EQ(canvas.TextCall(u"skin"), nullptr);
    EXPECT_EQ(canvas.TextCall(u"OK,driver is working...")->colour, kYellow);

    state.recording = false;
    state.language = LanguageMode::Chinese;
    state.config.DPI_SPEED = 10;  // out of range: no step shows selected, not even the next entry
    RecordingCanvas chinese;
    PaintMainWindow(chinese, skin, state);
    EXPECT_NE(chinese.TextCall(u"录制"), nullptr);
    for (const PixelRect& r : chinese.CopiesFrom(u"advanced_down.jpg")) EXPECT_NE(r, RectOf(skin.advanced, WheelSpeed(0)));
}

TEST(PaintColourPage, LedModePreviewAndDpi) {
    SkinSet skin = GridSkin();
    const PixelRect preview = RectOf(skin.colour, ColourEntry::kPreview);
    const auto paint = [&](bool off, int colour) {
        PaintState state = MainState();
        state.page = WindowPage::Colour;
        state.config.LED_STATUS = kLedSteady;
        state.previewOff = off;
        state.previewColour = colour;
        RecordingCanvas canvas;
        PaintMainWindow(canvas, skin, state);
        return canvas;
    };
    const auto has = [&](const std::vector<PixelRect>& rects) {
        return std::find(rects.begin(), rects.end(), preview) != rects.end();
    };
    EXPECT_TRUE(has(paint(true, 2).CopiesFrom(u"color_normal_gray.jpg")));
    EXPECT_TRUE(has(paint(false, 0).CopiesFrom(u"color_over_blue.jpg")));
    RecordingCanvas pink = paint(false, 1);
    EXPECT_FALSE(has(pink.CopiesFrom(u"color_over_red.jpg")));
    EXPECT_FALSE(has(pink.CopiesFrom(u"color_down_purple.jpg")));
    EXPECT_TRUE(has(paint(false, 2).CopiesFrom(u"color_over_red.jpg")));
    EXPECT_TRUE(has(paint(false, 3).CopiesFrom(u"color_down_purple.jpg")));
    EXPECT_FALSE(has(paint(false, 7).CopiesFrom(u"color_down_purple.jpg")));
    // The LED mode, the colour tab, slot 3 and English; stage 2 holds value 4: 2400 DPI.
    EXPECT_EQ(Sorted(pink.CopiesFrom(u"color_down_purple.jpg")),
              Sorted({RectOf(skin.colour, ColourEntry::LedModeButton(kLedSteady)), RectOf(skin.main, Slot(3)),
                      RectOf(skin.main, Tab(WindowPage::Colour)), RectOf(skin.main, kEnglish)}));
    EXPECT_NE(pink.TextCall(u"2400"), nullptr);

    ActiveConfig config;
    const std::vector<std::pair<int, std::u16string>> dpi{{0, u"3200"}, {1, u"1200"}, {2, u"1600"},
                                                          {3, u"2000"}, {4, u"2400"}, {9, u"1200"}};
    for (const auto& [value, text] : dpi) {
        config.AppliedStageValues[0] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(CurrentDpiText(config), text);
    }
    config.DPI_LEVEL = 77;  // bounded to stage 3
    config.AppliedStageValues[3] = 3;
    EXPECT_EQ(CurrentDpiText(config), u"2000");
}

TEST(PaintFrame, SlotTabAndLanguageOnEveryPage) {
    SkinSet skin = GridSkin();
    PaintState state = MainState();
    state.page = WindowPage::Colour;
    state.language = LanguageMode::Chinese;
    state.curConfig = 5;
    state.mainHot = Slot(5);  // the current slot wins over the hover
    RecordingCanvas canvas;
    PaintMainWindow(canvas, skin, state);
    const auto down = canvas.CopiesFrom(u"color_down_purple.jpg");
    for (int i : {Slot(5), Tab(WindowPage::Colour), kChinese}) {
        EXPECT_NE(std::find(down.begin(), down.end(), RectOf(skin.main, i)), down.end()) << i;
    }
    EXPECT_EQ(std::find(down.begin(), down.end(), RectOf(skin.main, kEnglish)), down.end());
    EXPECT_TRUE(canvas.CopiesFrom(u"color_over_red.jpg").empty());

    // A slot number outside 1..5 marks no slot (and never the apply button, slot 0's place).
    state.curConfig = 0;
    state.mainHot = kNoEntry;
    RecordingCanvas noSlot;
    PaintMainWindow(noSlot, skin, state);
    for (const PixelRect& r : noSlot.CopiesFrom(u"color_down_purple.jpg")) EXPECT_NE(r, RectOf(skin.main, kApply));
}

}  // namespace
