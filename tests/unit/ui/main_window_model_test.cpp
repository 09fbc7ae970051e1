#include "ui/main_window_model.h"

#include <gtest/gtest.h>

#include "skin/skin_entries.h"
#include "ui/small_layout.h"

namespace {

constexpr auto Main = WindowPage::Main;
constexpr auto Advanced = WindowPage::Advanced;
constexpr auto Colour = WindowPage::Colour;

UiAction PressAt(MainWindowModel& model, std::int64_t x, std::int64_t y, WindowPage page) {
    model.MouseMove(x, y, page);
    return model.Press(x, y, page).action;
}

UiAction Show(WindowPage page) { return {.command = UiCommand::ShowPage, .page = page}; }
UiAction Do(UiCommand command) { return {.command = command}; }
UiAction MoveFrom(std::int64_t x, std::int64_t y) { return {.command = UiCommand::MoveWindow, .x = x, .y = y}; }

TEST(MainWindowModel, HitTestsEachLayoutWithItsOwnLastEntry) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    EXPECT_EQ(model.AdvancedHot(), kNoEntry);
    EXPECT_EQ(model.ColourHot(), kNoEntry);

    // The main page tests its entries up to the first button highlight; the second one and
    // zero-size entries never hit.
    model.MouseMove(25, 110, Main);
    EXPECT_EQ(model.MainHot(), MainEntry::ButtonHighlight(1));
    model.MouseMove(25, 160, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    model.MouseMove(0, 0, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);

    // Function box 1 and the advanced record button share a place: both are hot on any page.
    model.MouseMove(120, 105, Main);
    EXPECT_EQ(model.MainHot(), MainEntry::FunctionBox(1));
    EXPECT_EQ(model.AdvancedHot(), AdvancedEntry::kRecord);
    // Off the main page only the frame of the main layout is tested.
    model.MouseMove(120, 105, Advanced);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    EXPECT_EQ(model.AdvancedHot(), AdvancedEntry::kRecord);
    model.MouseMove(605, 15, Colour);
    EXPECT_EQ(model.MainHot(), MainEntry::kClose);

    // Advanced entries up to the fire value and colour entries up to the LED heading, on every page.
    model.MouseMove(450, 225, Main);
    EXPECT_EQ(model.AdvancedHot(), AdvancedEntry::kFireValue);
    model.MouseMove(30, 310, Advanced);
    EXPECT_EQ(model.AdvancedHot(), kNoEntry);
    model.MouseMove(310, 305, Main);
    EXPECT_EQ(model.ColourHot(), ColourEntry::kLedHeading);
    model.MouseMove(30, 335, Colour);
    EXPECT_EQ(model.ColourHot(), kNoEntry);

    // Right and bottom edges are outside an entry.
    model.MouseMove(620, 15, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    model.MouseMove(619, 29, Main);
    EXPECT_EQ(model.MainHot(), MainEntry::kClose);
}

TEST(MainWindowModel, RepaintsOnlyWhenAnEntryThePageShowsChangesItsHotState) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_FALSE(model.MouseMove(50, 350, Main));  // nothing under the pointer, as before
    EXPECT_TRUE(model.MouseMove(120, 105, Main));  // onto function box 1
    EXPECT_FALSE(model.MouseMove(130, 110, Main)); // still on it
    EXPECT_TRUE(model.MouseMove(50, 350, Main));   // off it

    // The main page paints no colour entry: moving onto one changes nothing visible...
    EXPECT_FALSE(model.MouseMove(310, 305, Main));
    EXPECT_EQ(model.ColourHot(), ColourEntry::kLedHeading);
    // ...while the colour page shows it.
    EXPECT_TRUE(model.MouseMove(50, 350, Colour));
    EXPECT_TRUE(model.MouseMove(310, 305, Colour));
    // The advanced page shows its own entries and the frame, not the colour ones.
    EXPECT_TRUE(model.MouseMove(310, 155, Advanced));   // pointer speed step, off the colour heading
    EXPECT_TRUE(model.MouseMove(605, 15, Advanced));    // the close control of the frame
    EXPECT_FALSE(model.MouseMove(608, 18, Advanced));
}

TEST(MainWindowModel, PageTabsActOnPressAndTheCurrentPagesTabDoesNothing) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_EQ(PressAt(model, 170, 45, Main), Show(Advanced));
    EXPECT_EQ(PressAt(model, 230, 45, Main), Show(Colour));
    EXPECT_EQ(PressAt(model, 110, 45, Main), UiAction{});

    EXPECT_EQ(PressAt(model, 110, 45, Advanced), Show(Main));
    EXPECT_EQ(PressAt(model, 230, 45, Advanced), Show(Colour));
    EXPECT_EQ(PressAt(model, 170, 45, Advanced), UiAction{});

    EXPECT_EQ(PressAt(model, 110, 45, Colour), Show(Main));
    EXPECT_EQ(PressAt(model, 170, 45, Colour), Show(Advanced));
    EXPECT_EQ(PressAt(model, 230, 45, Colour), UiAction{});
    // A tab acts on the press; its release asks for nothing.
    EXPECT_EQ(model.Release(), UiAction{});
}

TEST(MainWindowModel, PressShowsThePressedStateOnlyOverAnEntryAndEmptySpaceMovesTheWindow) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    model.MouseMove(50, 350, Main);
    MainWindowModel::PressResult outside = model.Press(50, 350, Main);
    EXPECT_FALSE(outside.repaint);
    EXPECT_FALSE(model.Pressed());
    EXPECT_EQ(outside.action, MoveFrom(50, 350));
    model.Release();

    model.MouseMove(120, 85, Main);  // a heading: hot but without an action
    MainWindowModel::PressResult heading = model.Press(120, 85, Main);
    EXPECT_TRUE(heading.repaint);
    EXPECT_TRUE(model.Pressed());
    EXPECT_EQ(heading.action, UiAction{});
    EXPECT_EQ(model.Release(), UiAction{});
    EXPECT_FALSE(model.Pressed());

    // Off the main page the window moves only when neither the frame nor the page has a hot entry.
    EXPECT_EQ(PressAt(model, 50, 350, Advanced), MoveFrom(50, 350));
    EXPECT_EQ(PressAt(model, 450, 225, Advanced), UiAction{});  // fire value: hot, no action
    EXPECT_EQ(PressAt(model, 465, 45, Advanced), UiAction{});   // the frame's slot label
    EXPECT_EQ(PressAt(model, 52, 351, Colour), MoveFrom(52, 351));
    EXPECT_EQ(PressAt(model, 310, 305, Colour), UiAction{});    // LED heading
    EXPECT_EQ(PressAt(model, 465, 45, Colour), UiAction{});
    // On the main page an entry of another layout does not stop the move.
    EXPECT_EQ(PressAt(model, 310, 305, Main), MoveFrom(310, 305));
}

TEST(MainWindowModel, PressesOnPageControlsNameTheirSetting) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_EQ(PressAt(model, 120, 105, Main), (UiAction{.command = UiCommand::OpenFunctionPopup, .button = 1}));
    EXPECT_EQ(PressAt(model, 120, 225, Main), (UiAction{.command = UiCommand::OpenFunctionPopup, .button = 7}));
    EXPECT_EQ(PressAt(model, 105, 305, Main), (UiAction{.command = UiCommand::SetWheel, .wheel = 0}));
    EXPECT_EQ(PressAt(model, 155, 305, Main), (UiAction{.command = UiCommand::SetWheel, .wheel = 1}));
    EXPECT_EQ(PressAt(model, 405, 105, Main), (UiAction{.command = UiCommand::ToggleStage, .stage = 1}));
    EXPECT_EQ(PressAt(model, 435, 105, Main), (UiAction{.command = UiCommand::SelectStage, .stage = 2}));
    EXPECT_EQ(PressAt(model, 465, 135, Main), (UiAction{.command = UiCommand::SetStageStep, .stage = 1, .step = 2}));
    EXPECT_EQ(PressAt(model, 495, 135, Main), (UiAction{.command = UiCommand::SetStageStep, .stage = 3, .step = 4}));

    // The same places on the advanced page act by the advanced layout.
    EXPECT_EQ(PressAt(model, 120, 105, Advanced), Do(UiCommand::ToggleRecording));
    EXPECT_EQ(PressAt(model, 105, 225, Advanced), Do(UiCommand::ToggleMacroMode2));
    EXPECT_EQ(PressAt(model, 305, 155, Advanced), (UiAction{.command = UiCommand::SetPointerSpeed, .speed = 4}));
    EXPECT_EQ(PressAt(model, 305, 185, Advanced), (UiAction{.command = UiCommand::SetWheelSpeed, .speed = 5}));
    EXPECT_EQ(PressAt(model, 615, 205, Advanced), Do(UiCommand::FireTimeUp));
    EXPECT_EQ(PressAt(model, 375, 205, Advanced), Do(UiCommand::FireTimeDown));
    // The fire bar: the pointer's offset in the bar scaled to 0..300, truncated.
    const auto fire = [](int time) { return UiAction{.command = UiCommand::SetFireTime, .fireTime = time}; };
    EXPECT_EQ(PressAt(model, 400, 205, Advanced), fire(0));
    EXPECT_EQ(PressAt(model, 500, 205, Advanced), fire(150));
    EXPECT_EQ(PressAt(model, 599, 205, Advanced), fire(298));
    // A press that lands beside the bar after the hit test found it stays in its range.
    model.MouseMove(599, 205, Advanced);
    EXPECT_EQ(model.Press(900, 205, Advanced).action, fire(300));

    EXPECT_EQ(PressAt(model, 105, 305, Colour), (UiAction{.command = UiCommand::SetLedMode, .ledMode = kLedSteady}));
    // Main-page controls do nothing while another page shows.
    EXPECT_EQ(PressAt(model, 405, 105, Colour), MoveFrom(405, 105));
}

TEST(MainWindowModel, ReleaseActsByTheFrameEntryUnderThePointerOnAnyPage) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    const struct {
        std::int64_t x, y;
        UiAction action;
        bool forgetsHot;
    } cases[] = {
        {605, 15, Do(UiCommand::CloseToTray), true},
        {505, 405, Do(UiCommand::Apply), false},
        {305, 45, {.command = UiCommand::LoadSlot, .slot = 1}, false},
        {425, 45, {.command = UiCommand::LoadSlot, .slot = 5}, false},
        {565, 15, Do(UiCommand::Minimise), true},
        {585, 15, Do(UiCommand::HideToTray), true},
        {105, 405, Do(UiCommand::ImportConfig), false},
        {175, 405, Do(UiCommand::ExportConfig), false},
        {245, 405, Do(UiCommand::FactoryReset), false},
        {485, 15, Do(UiCommand::SwitchToChinese), false},
        {525, 15, Do(UiCommand::SwitchToEnglish), false},
        {465, 45, Do(UiCommand::DefaultHandling), false},
        {120, 105, {}, false},  // a main-page control acts on its press, not its release
        {50, 350, {}, false},
    };
    for (WindowPage page : {Main, Advanced, Colour}) {
        for (const auto& c : cases) {
            model.MouseMove(c.x, c.y, page);
            const int hot = model.MainHot();
            EXPECT_EQ(model.Release(), c.action) << c.x << "," << c.y << " page " << int(page);
            EXPECT_EQ(model.MainHot(), c.forgetsHot ? kNoEntry : hot);
        }
    }

    // The release counts where it happens: a press elsewhere, released over apply, applies...
    model.MouseMove(50, 350, Main);
    model.Press(50, 350, Main);
    model.MouseMove(505, 405, Main);
    EXPECT_EQ(model.Release(), Do(UiCommand::Apply));
    // ...and a press on apply released elsewhere does nothing.
    model.MouseMove(505, 405, Main);
    model.Press(505, 405, Main);
    model.MouseMove(50, 350, Main);
    EXPECT_EQ(model.Release(), UiAction{});
}

}  // namespace
