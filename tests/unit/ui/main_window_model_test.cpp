#include "ui/main_window_model.h"

#include <gtest/gtest.h>

namespace {

void Put(SkinPage& page, int key, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    *page.Find(key) = {x, y, w, h, u""};
}

// A small layout: the frame across the top, main-page controls below it, and advanced and
// colour entries that share their places with main-page ones (as the real pages do, drawn on
// the same window), so a test can tell which table a press went by.
SkinSet Layout() {
    SkinSet skin;
    SkinPage& main = skin.main;
    Put(main, 2, 600, 10, 20, 20);   // close
    Put(main, 3, 500, 400, 80, 24);  // apply
    for (int slot = 0; slot < 5; ++slot) Put(main, 4 + slot, 300 + 30 * slot, 40, 20, 20);
    Put(main, 9, 100, 40, 50, 20);  // tabs
    Put(main, 10, 160, 40, 50, 20);
    Put(main, 11, 220, 40, 50, 20);
    Put(main, 12, 560, 10, 20, 20);  // minimise
    Put(main, 13, 580, 10, 20, 20);  // tray
    Put(main, 14, 100, 400, 60, 20);
    Put(main, 15, 170, 400, 60, 20);
    Put(main, 16, 240, 400, 60, 20);
    Put(main, 17, 480, 10, 30, 20);
    Put(main, 18, 520, 10, 30, 20);
    Put(main, 19, 460, 40, 30, 20);
    Put(main, 20, 100, 80, 200, 16);   // a heading: painted only
    Put(main, 25, 100, 100, 150, 20);  // function box of button 1
    Put(main, 31, 100, 220, 150, 20);  // of button 7
    Put(main, 41, 100, 300, 40, 20);
    Put(main, 42, 150, 300, 40, 20);
    Put(main, 47, 400, 100, 20, 20);  // stage 1 enable
    Put(main, 56, 430, 100, 20, 20);  // stage 2 select
    Put(main, 67, 460, 130, 20, 20);  // stage 1, step 2
    Put(main, 90, 20, 100, 30, 40);   // highlight of button 1: the last entry the main page tests
    Put(main, 91, 20, 150, 30, 40);   // not hit-tested
    Put(main, 30, 0, 0, 0, 0);        // zero size: never hit

    SkinPage& advanced = skin.advanced;
    Put(advanced, 4, 100, 100, 150, 20);  // where the main page has function box 25
    Put(advanced, 7, 100, 220, 20, 20);
    Put(advanced, 12, 300, 150, 20, 20);  // pointer speed step 4
    Put(advanced, 23, 300, 180, 20, 20);  // wheel speed step 5
    Put(advanced, 30, 400, 200, 200, 10);
    Put(advanced, 31, 610, 200, 20, 10);
    Put(advanced, 32, 370, 200, 20, 10);
    Put(advanced, 33, 400, 220, 200, 10);  // fire value: hot, no action
    Put(advanced, 34, 20, 300, 40, 20);    // beyond 33: never hot

    SkinPage& colour = skin.colour;
    Put(colour, 2, 100, 300, 40, 20);  // where the main page has wheel setting 41
    Put(colour, 4, 300, 300, 60, 20);  // heading: hot, no action
    Put(colour, 5, 20, 330, 40, 20);   // beyond 4: never hot
    return skin;
}

constexpr auto Main = WindowPage::Main;
constexpr auto Advanced = WindowPage::Advanced;
constexpr auto Colour = WindowPage::Colour;

UiAction PressAt(MainWindowModel& model, std::int64_t x, std::int64_t y, WindowPage page) {
    model.MouseMove(x, y, page);
    return model.Press(x, page).action;
}

TEST(MainWindowModel, HitTestsEachLayoutWithItsOwnLastEntry) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    EXPECT_EQ(model.AdvancedHot(), kNoEntry);
    EXPECT_EQ(model.ColourHot(), kNoEntry);

    // The main page tests its entries up to 90; the highlight 91 and zero-size entries never hit.
    model.MouseMove(25, 110, Main);
    EXPECT_EQ(model.MainHot(), 90);
    model.MouseMove(25, 160, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    model.MouseMove(0, 0, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);

    // Function box 25 and the advanced record button share a place: both are hot on any page.
    model.MouseMove(120, 105, Main);
    EXPECT_EQ(model.MainHot(), 25);
    EXPECT_EQ(model.AdvancedHot(), 4);
    // Off the main page only the frame (0..19) of the main layout is tested.
    model.MouseMove(120, 105, Advanced);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    EXPECT_EQ(model.AdvancedHot(), 4);
    model.MouseMove(605, 15, Colour);
    EXPECT_EQ(model.MainHot(), 2);

    // Advanced entries up to 33 and colour entries up to 4, on every page.
    model.MouseMove(450, 225, Main);
    EXPECT_EQ(model.AdvancedHot(), 33);
    model.MouseMove(30, 310, Advanced);
    EXPECT_EQ(model.AdvancedHot(), kNoEntry);
    model.MouseMove(310, 305, Main);
    EXPECT_EQ(model.ColourHot(), 4);
    model.MouseMove(30, 335, Colour);
    EXPECT_EQ(model.ColourHot(), kNoEntry);

    // Right and bottom edges are outside an entry.
    model.MouseMove(620, 15, Main);
    EXPECT_EQ(model.MainHot(), kNoEntry);
    model.MouseMove(619, 29, Main);
    EXPECT_EQ(model.MainHot(), 2);
}

TEST(MainWindowModel, RepaintsOnlyWhenAnEntryThePageShowsChangesItsHotState) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_FALSE(model.MouseMove(50, 350, Main));  // nothing under the pointer, as before
    EXPECT_TRUE(model.MouseMove(120, 105, Main));  // onto function box 25
    EXPECT_FALSE(model.MouseMove(130, 110, Main)); // still on it
    EXPECT_TRUE(model.MouseMove(50, 350, Main));   // off it

    // The main page paints no colour entry: moving onto one changes nothing visible...
    EXPECT_FALSE(model.MouseMove(310, 305, Main));
    EXPECT_EQ(model.ColourHot(), 4);
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
    EXPECT_EQ(PressAt(model, 170, 45, Main), (UiAction{UiCommand::ShowPage, 1}));
    EXPECT_EQ(PressAt(model, 230, 45, Main), (UiAction{UiCommand::ShowPage, 2}));
    EXPECT_EQ(PressAt(model, 110, 45, Main), UiAction{});

    EXPECT_EQ(PressAt(model, 110, 45, Advanced), (UiAction{UiCommand::ShowPage, 0}));
    EXPECT_EQ(PressAt(model, 230, 45, Advanced), (UiAction{UiCommand::ShowPage, 2}));
    EXPECT_EQ(PressAt(model, 170, 45, Advanced), UiAction{});

    EXPECT_EQ(PressAt(model, 110, 45, Colour), (UiAction{UiCommand::ShowPage, 0}));
    EXPECT_EQ(PressAt(model, 170, 45, Colour), (UiAction{UiCommand::ShowPage, 1}));
    EXPECT_EQ(PressAt(model, 230, 45, Colour), UiAction{});
    // A tab acts on the press; its release asks for nothing.
    EXPECT_EQ(model.Release(), UiAction{});
}

TEST(MainWindowModel, PressShowsThePressedStateOnlyOverAnEntryAndEmptySpaceMovesTheWindow) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    model.MouseMove(50, 350, Main);
    MainWindowModel::PressResult outside = model.Press(50, Main);
    EXPECT_FALSE(outside.repaint);
    EXPECT_FALSE(model.Pressed());
    EXPECT_EQ(outside.action, (UiAction{UiCommand::MoveWindow, 0}));
    model.Release();

    model.MouseMove(120, 85, Main);  // a heading: hot but without an action
    MainWindowModel::PressResult heading = model.Press(120, Main);
    EXPECT_TRUE(heading.repaint);
    EXPECT_TRUE(model.Pressed());
    EXPECT_EQ(heading.action, UiAction{});
    EXPECT_EQ(model.Release(), UiAction{});
    EXPECT_FALSE(model.Pressed());

    // Off the main page the window moves only when neither the frame nor the page has a hot entry.
    EXPECT_EQ(PressAt(model, 50, 350, Advanced), (UiAction{UiCommand::MoveWindow, 0}));
    EXPECT_EQ(PressAt(model, 450, 225, Advanced), UiAction{});  // fire value: hot, no action
    EXPECT_EQ(PressAt(model, 465, 45, Advanced), UiAction{});   // frame entry 19
    EXPECT_EQ(PressAt(model, 50, 350, Colour), (UiAction{UiCommand::MoveWindow, 0}));
    EXPECT_EQ(PressAt(model, 310, 305, Colour), UiAction{});    // colour heading 4
    EXPECT_EQ(PressAt(model, 465, 45, Colour), UiAction{});
    // On the main page an entry of another layout does not stop the move.
    EXPECT_EQ(PressAt(model, 310, 305, Main), (UiAction{UiCommand::MoveWindow, 0}));
}

TEST(MainWindowModel, PressesOnPageControlsNameTheirSetting) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    EXPECT_EQ(PressAt(model, 120, 105, Main), (UiAction{UiCommand::OpenFunctionPopup, 25}));
    EXPECT_EQ(PressAt(model, 120, 225, Main), (UiAction{UiCommand::OpenFunctionPopup, 31}));
    EXPECT_EQ(PressAt(model, 105, 305, Main), (UiAction{UiCommand::SetWheel, 0}));
    EXPECT_EQ(PressAt(model, 155, 305, Main), (UiAction{UiCommand::SetWheel, 1}));
    EXPECT_EQ(PressAt(model, 405, 105, Main), (UiAction{UiCommand::ToggleStage, 1}));
    EXPECT_EQ(PressAt(model, 435, 105, Main), (UiAction{UiCommand::SelectStage, 2}));
    EXPECT_EQ(PressAt(model, 465, 135, Main), (UiAction{UiCommand::SetStageStep, 67}));

    // The same places on the advanced page act by the advanced layout.
    EXPECT_EQ(PressAt(model, 120, 105, Advanced), (UiAction{UiCommand::ToggleRecording, 0}));
    EXPECT_EQ(PressAt(model, 105, 225, Advanced), (UiAction{UiCommand::ToggleMacroMode2, 0}));
    EXPECT_EQ(PressAt(model, 305, 155, Advanced), (UiAction{UiCommand::SetPointerSpeed, 4}));
    EXPECT_EQ(PressAt(model, 305, 185, Advanced), (UiAction{UiCommand::SetWheelSpeed, 5}));
    EXPECT_EQ(PressAt(model, 615, 205, Advanced), (UiAction{UiCommand::FireTimeUp, 0}));
    EXPECT_EQ(PressAt(model, 375, 205, Advanced), (UiAction{UiCommand::FireTimeDown, 0}));
    // The fire bar: the pointer's offset in the bar scaled to 0..300, truncated.
    EXPECT_EQ(PressAt(model, 400, 205, Advanced), (UiAction{UiCommand::SetFireTime, 0}));
    EXPECT_EQ(PressAt(model, 500, 205, Advanced), (UiAction{UiCommand::SetFireTime, 150}));
    EXPECT_EQ(PressAt(model, 599, 205, Advanced), (UiAction{UiCommand::SetFireTime, 298}));
    // A press that lands beside the bar after the hit test found it stays in its range.
    model.MouseMove(599, 205, Advanced);
    EXPECT_EQ(model.Press(900, Advanced).action, (UiAction{UiCommand::SetFireTime, 300}));

    EXPECT_EQ(PressAt(model, 105, 305, Colour), (UiAction{UiCommand::SetLedMode, 2}));
    // Main-page controls do nothing while another page shows.
    EXPECT_EQ(PressAt(model, 405, 105, Colour), (UiAction{UiCommand::MoveWindow, 0}));
}

TEST(MainWindowModel, ReleaseActsByTheFrameEntryUnderThePointerOnAnyPage) {
    const SkinSet skin = Layout();
    MainWindowModel model(skin);
    const struct {
        std::int64_t x, y;
        UiAction action;
        bool forgetsHot;
    } cases[] = {
        {605, 15, {UiCommand::CloseToTray, 0}, true},
        {505, 405, {UiCommand::Apply, 0}, false},
        {305, 45, {UiCommand::LoadSlot, 1}, false},
        {425, 45, {UiCommand::LoadSlot, 5}, false},
        {565, 15, {UiCommand::Minimise, 0}, true},
        {585, 15, {UiCommand::HideToTray, 0}, true},
        {105, 405, {UiCommand::ImportConfig, 0}, false},
        {175, 405, {UiCommand::ExportConfig, 0}, false},
        {245, 405, {UiCommand::FactoryReset, 0}, false},
        {485, 15, {UiCommand::SwitchToChinese, 0}, false},
        {525, 15, {UiCommand::SwitchToEnglish, 0}, false},
        {465, 45, {UiCommand::DefaultHandling, 0}, false},
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
    model.Press(50, Main);
    model.MouseMove(505, 405, Main);
    EXPECT_EQ(model.Release(), (UiAction{UiCommand::Apply, 0}));
    // ...and a press on apply released elsewhere does nothing.
    model.MouseMove(505, 405, Main);
    model.Press(505, Main);
    model.MouseMove(50, 350, Main);
    EXPECT_EQ(model.Release(), UiAction{});
}

}  // namespace
