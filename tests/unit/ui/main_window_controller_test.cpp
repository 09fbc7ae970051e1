#include "ui/main_window_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/user_texts.h"
#include "platform/ini_profile.h"
#include "platform/text.h"
#include "skin/paint_main_window.h"
#include "support/memory_profile.h"
#include "support/fake_macro_controls.h"
#include "support/fake_skin_files.h"
#include "support/recording_canvas.h"
#include "support/recording_messages.h"
#include "temp_dir.h"
#include "ui/small_layout.h"

namespace {

// The window as the controller sees it: every effect asked for, in order.
struct RecordingWindow : MainWindowShell {
    std::vector<std::string> effects;
    bool editorShown = false;
    void Repaint(RepaintArea area) override {
        effects.push_back(area == RepaintArea::Whole ? "repaint" : "repaint outside editor");
    }
    void PaintNow() override { effects.push_back("paint now"); }
    bool MacroEditorShown() override { return editorShown; }
    void StartWindowMove(std::int64_t x, std::int64_t y) override {
        effects.push_back("move from " + std::to_string(x) + "," + std::to_string(y));
    }
    void Minimise(std::int64_t, std::int64_t) override { effects.push_back("minimise"); }
    void HideToTray() override { effects.push_back("tray"); }
    void ScheduleAnimation(Animation which, AnimationDelay delay) override {
        effects.push_back(std::string(which == Animation::Blink ? "blink" : "preview") +
                          (delay ? " in " + std::to_string(delay->count()) : " ends"));
    }
    bool skinLoads = true;
    bool LoadSkinOf(LanguageMode language) override {
        effects.push_back(language == LanguageMode::English ? "skin en" : "skin cn");
        return skinLoads;
    }
    void ShowLanguage() override { effects.push_back("menus and title"); }
    void ShowStateChange(const IndicatorState& before, const IndicatorState& after) override {
        EXPECT_FALSE(before == after);
        effects.push_back("shown: slot " + std::to_string(after.slot));
    }
    std::vector<std::string> Take() { return std::exchange(effects, {}); }
};

// The popups as the controller sees them, recorded into the shell's list so the order shows.
struct RecordingPopups : FunctionPopupPort {
    explicit RecordingPopups(std::vector<std::string>& log) : effects(log) {}
    std::vector<std::string>& effects;
    int warningAnswer = 1;
    int ShowLeftClickWarning(int button) override {
        effects.push_back("warning " + std::to_string(button));
        return warningAnswer;
    }
    void OpenFunctionPopup(int button) override { effects.push_back("popup " + std::to_string(button)); }
    void DestroyFunctionPopup() override { effects.push_back("close popup"); }
};

struct ControllerTest : ::testing::Test {
    TempDir dir;
    IniProfile profile;
    ProgramState program;
    PressHandoff handoff;
    MacroStore macros;
    RecordingWindow shell;
    RecordingPopups popups{shell.effects};
    SkinSet skin = Layout();
    std::vector<int> appliedWheels;  // WHEEL_STATUS as each apply found it
    MainWindowController controller{
        skin, {program, handoff, macros, profile, shell, [this] { appliedWheels.push_back(program.config.WHEEL_STATUS); }, {},
               &popups}};

    ControllerTest() { program.paths.ConfigIniPath = dir.File("config.ini"); }
    void PressOn(const SkinPage& page, int entry) {
        const SkinEntry& e = page.At(entry);
        controller.MouseMove(e.x + 1, e.y + 1);
        controller.Press(e.x + 1, e.y + 1);
    }
    void Click(const SkinPage& page, int entry) {
        const SkinEntry& e = page.At(entry);
        controller.MouseMove(e.x + 1, e.y + 1);
        controller.Press(e.x + 1, e.y + 1);
        controller.Release(e.x + 1, e.y + 1);
    }
};

TEST_F(ControllerTest, TabsSwitchPagesStartTheirAnimatorsAndRepaintAroundTheMacroEditor) {
    const SkinEntry colour = skin.main.At(MainEntry::Tab(WindowPage::Colour));
    controller.MouseMove(colour.x + 1, colour.y + 1);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"repaint", "paint now"}));  // the tab lights up
    controller.Press(colour.x + 1, colour.y + 1);
    EXPECT_EQ(controller.Page(), WindowPage::Colour);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"repaint", "preview in 1200", "repaint"}));
    controller.Release(colour.x + 1, colour.y + 1);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"repaint"}));

    // A preview that still runs is not started twice; a blink under way goes on as it is, and
    // its steps end it once host actions are on.
    controller.ShowPage(WindowPage::Colour);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"repaint"}));
    handoff.SetHostActionsOn(false);
    controller.ShowPage(WindowPage::Main);
    controller.ShowPage(WindowPage::Main);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"blink in 500", "repaint", "repaint", "repaint"}));
    controller.AnimationStep(Animation::Blink);
    handoff.SetHostActionsOn(true);
    controller.AnimationStep(Animation::Blink);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"blink in 500", "repaint", "blink ends", "repaint"}));

    // The advanced page paints at once, around the editor's controls while they are shown.
    shell.editorShown = true;
    Click(skin.main, MainEntry::Tab(WindowPage::Advanced));
    EXPECT_EQ(controller.Page(), WindowPage::Advanced);
    const std::vector<std::string> effects = shell.Take();
    ASSERT_GE(effects.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(effects.end() - 3, effects.end()),
              (std::vector<std::string>{"repaint outside editor", "paint now", "repaint"}));

    // Leaving the tab repaints the page around the editor; a press beside every entry drags the
    // window from there.
    controller.MouseMove(5, 500);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"repaint outside editor", "paint now"}));
    controller.Press(5, 500);
    EXPECT_EQ(shell.Take(), (std::vector<std::string>{"move from 5,500"}));
}

TEST_F(ControllerTest, TheCloseControlKeepsTheMousesStageDropsEditsAndHidesToTheTray) {
    dir.Write("config.ini", "[Init]\r\nCurConfig=3\r\n[Config6]\r\nK1=1\r\nDPI_LEVEL=0\r\nWHEEL_SPEED=7\r\n");
    program.config.DPI_LEVEL = 2;    // chosen on the mouse
    program.config.WHEEL_SPEED = 9;  // an edit not applied
    program.CurConfig = 5;           // a slot shown, not applied
    Click(skin.main, MainEntry::kClose);
    const std::vector<std::string> effects = shell.Take();
    ASSERT_GE(effects.size(), 4u);
    // The applied slot is shown again, and the tray's tip says so.
    EXPECT_EQ(std::vector<std::string>(effects.end() - 4, effects.end()),
              (std::vector<std::string>{"repaint", "shown: slot 3", "tray", "repaint"}));
    EXPECT_EQ(program.config.DPI_LEVEL, 2);
    EXPECT_EQ(program.config.WHEEL_SPEED, 7);
    EXPECT_EQ(program.CurConfig, 3);
    EXPECT_EQ(profile.ReadString(program.paths.ConfigIniPath, u"Config6", u"DPI_LEVEL", 8), u"2");

    Click(skin.main, MainEntry::kMinimise);
    EXPECT_EQ(shell.Take().back(), "minimise");
}

TEST_F(ControllerTest, EditsStayInTheWindowUntilApplyAndASlotIsShownNotApplied) {
    dir.Write("config.ini", "[Config4]\r\nK1=1\r\nFIRE_TIME=90\r\n");
    SetBuiltInDefaults(program.config);
    program.CurConfig = 1;
    PressOn(skin.main, MainEntry::kWheelReverse);
    PressOn(skin.main, MainEntry::StageStep(3, 4));
    EXPECT_EQ(program.config.WHEEL_STATUS, 1);
    EXPECT_EQ(program.config.DPI_SET[3], 4);
    EXPECT_EQ(program.config.ValueItem[3], MainEntry::StageStep(3, 4));
    EXPECT_TRUE(appliedWheels.empty());
    // The mouse's threads see every edit (a playing macro reads MACRO_MODE2 from there).
    EXPECT_EQ(program.published.Read()->config, program.config);

    // A press on Apply released elsewhere does nothing; a release over it applies, wherever the
    // press began.
    PressOn(skin.main, MainEntry::kApply);
    controller.MouseMove(5, 500);
    controller.Release(5, 500);
    EXPECT_TRUE(appliedWheels.empty());
    PressOn(skin.main, MainEntry::kWheelNormal);
    const SkinEntry apply = skin.main.At(MainEntry::kApply);
    controller.MouseMove(apply.x + 1, apply.y + 1);
    controller.Release(apply.x + 1, apply.y + 1);
    EXPECT_EQ(appliedWheels.size(), 1u);

    Click(skin.main, MainEntry::Slot(4));
    EXPECT_EQ(program.CurConfig, 4);
    EXPECT_EQ(program.config.FIRE_TIME, 90);
    EXPECT_EQ(appliedWheels.size(), 1u);

    // The fire interval from the advanced page, bounded at both ends.
    controller.ShowPage(WindowPage::Advanced);
    program.config.FIRE_TIME = kFireTimeMax;
    PressOn(skin.advanced, AdvancedEntry::kFireUp);
    EXPECT_EQ(program.config.FIRE_TIME, kFireTimeMax);
    program.config.FIRE_TIME = 0;
    PressOn(skin.advanced, AdvancedEntry::kFireDown);
    EXPECT_EQ(program.config.FIRE_TIME, 0);
    controller.ShowPage(WindowPage::Colour);
    PressOn(skin.colour, ColourEntry::LedModeButton(kLedSteady));
    EXPECT_EQ(program.config.LED_STATUS, kLedSteady);
}

// The preview as painted: the picture its entry is copied from, the normal (pink) one when none.
TEST_F(ControllerTest, TheLedPreviewShowsTheChosenModeAndStageBeforeTheyAreApplied) {
    Put(skin.colour, ColourEntry::LedModeButton(kLedOff), 150, 300, 40, 20);
    Put(skin.colour, ColourEntry::kPreview, 400, 100, 100, 120);
    const auto preview = [this] {
        RecordingCanvas canvas;
        PaintMainWindow(canvas, skin, controller.PaintStateNow(640, 480));
        std::u16string from = PicturesOf(WindowPage::Colour).normal.data();
        for (const CanvasCall& call : canvas.calls) {
            if (call.kind == CanvasCall::Copy && call.rect == skin.colour.At(ColourEntry::kPreview).Rect()) {
                from = call.picture;
            }
        }
        return from;
    };
    // The mouse's LED was last applied off, and so the page starts.
    program.applied.led = kLedOff;
    program.config.LED_STATUS = kLedOff;
    program.config.DPI_LEVEL = 0;
    controller.ShowPage(WindowPage::Colour);
    EXPECT_EQ(preview(), kPreviewUnlitPicture);

    // Steady, not applied: stage 0's colour at once, then the colour of each stage the page shows.
    Click(skin.colour, ColourEntry::LedModeButton(kLedSteady));
    EXPECT_EQ(preview(), kPreviewBluePicture);
    const std::u16string stageColours[] = {kPreviewBluePicture, u"color_normal_pink.jpg", u"color_over_red.jpg",
                                           u"color_down_purple.jpg"};
    for (int stage : {2, 3, 1}) {
        program.config.DPI_LEVEL = stage;
        controller.AnimationStep(Animation::LedPreview);
        EXPECT_EQ(preview(), stageColours[stage]) << stage;
    }
    Click(skin.colour, ColourEntry::LedModeButton(kLedOff));
    EXPECT_EQ(preview(), kPreviewUnlitPicture);
    EXPECT_EQ(program.applied.led, kLedOff);
}

// A press on a stage's ticks holds its knob: moving with the button down moves the step along,
// to the tick nearest the pointer; after the release the pointer moves nothing.
TEST_F(ControllerTest, TheDpiKnobFollowsThePointerWhileTheButtonIsDown) {
    for (int step = 0; step < kDpiStepCount; ++step) Put(skin.main, MainEntry::StageStep(2, step), 300 + 30 * step, 200, 10, 10);
    SetBuiltInDefaults(program.config);
    PressOn(skin.main, MainEntry::StageStep(2, 1));
    EXPECT_EQ(program.config.DPI_SET[2], 1);
    shell.Take();
    controller.MouseMove(300 + 30 * 3 + 2, 260);  // below the row: only x counts
    EXPECT_EQ(program.config.DPI_SET[2], 3);
    EXPECT_EQ(program.config.ValueItem[2], MainEntry::StageStep(2, 3));
    EXPECT_NE(std::find(shell.effects.begin(), shell.effects.end(), "repaint"), shell.effects.end());
    controller.MouseMove(1000, 260);  // beyond the last tick
    EXPECT_EQ(program.config.DPI_SET[2], 4);
    controller.Release(1000, 260);
    controller.MouseMove(300, 205);
    EXPECT_EQ(program.config.DPI_SET[2], 4);
    EXPECT_EQ(program.published.Read()->config.DPI_SET[2], 4);
}

TEST_F(ControllerTest, TheOnlyLeftClickIsGuardedByTheWarningAndAChoiceKeepsOneLeftClick) {
    SetBuiltInDefaults(program.config);  // K1 is the only left click
    popups.warningAnswer = 2;
    PressOn(skin.main, MainEntry::FunctionBox(1));
    EXPECT_EQ(shell.Take().back(), "warning 1");  // cancelled: no popup

    popups.warningAnswer = 1;
    PressOn(skin.main, MainEntry::FunctionBox(1));
    std::vector<std::string> effects = shell.Take();
    EXPECT_EQ(std::vector<std::string>(effects.end() - 2, effects.end()),
              (std::vector<std::string>{"warning 1", "popup 1"}));
    controller.ChooseFunction(2);
    EXPECT_EQ(program.config.K[0], 2);
    EXPECT_EQ(program.config.K[1], 1);  // the next button takes the left click

    // Button 1 no longer has it: no warning. The next press on the page closes the popup.
    PressOn(skin.main, MainEntry::FunctionBox(1));
    EXPECT_EQ(shell.Take().back(), "popup 1");
    PressOn(skin.main, MainEntry::kWheelNormal);
    effects = shell.Take();
    EXPECT_NE(std::find(effects.begin(), effects.end(), "close popup"), effects.end());
}

// The advanced page's controls come and go with it, its buttons reach the macro editor, and
// every way out of the page or the window ends a recording.
TEST_F(ControllerTest, TheMacroEditorLivesWithTheAdvancedPageAndNoWayOutLeavesARecording) {
    MacroEditorState editorState;
    RecordingMessages messages;
    FakeMacroControls controls;
    FakeKeyCapture keys;
    FakeFileDialogs files;
    MacroEditorPanel panel{{program, macros, editorState, profile, messages, controls, keys, files, [] {}}};
    MainWindowController withEditor{skin, {program, handoff, macros, profile, shell, {}, {}, &popups, nullptr, nullptr, &panel}};
    macros.Edit([](MacroStoreData& d) { d.count = 1; });
    const auto click = [&](const SkinPage& page, int entry) {
        const SkinEntry& e = page.At(entry);
        withEditor.MouseMove(e.x + 1, e.y + 1);
        withEditor.Press(e.x + 1, e.y + 1);
        withEditor.Release(e.x + 1, e.y + 1);
    };

    click(skin.main, MainEntry::Tab(WindowPage::Advanced));
    EXPECT_TRUE(controls.created);
    click(skin.advanced, AdvancedEntry::kRecord);
    EXPECT_TRUE(keys.installed);
    EXPECT_TRUE(withEditor.PaintStateNow(10, 10).recording);
    click(skin.main, MainEntry::kClose);
    EXPECT_FALSE(keys.installed);

    click(skin.advanced, AdvancedEntry::kRecord);
    EXPECT_TRUE(keys.installed);
    click(skin.main, MainEntry::Tab(WindowPage::Colour));
    EXPECT_FALSE(keys.installed);
    EXPECT_FALSE(controls.created);
    EXPECT_FALSE(withEditor.PaintStateNow(10, 10).recording);
}

TEST_F(ControllerTest, ALanguageSwitchChangesTheFilesAndTextsButNeverTheConfigurationOrHalfway) {
    FakeSkinFiles messages;
    MainWindowController switching{skin, {program, handoff, macros, profile, shell, {}, {}, &popups, nullptr, &messages}};
    dir.Write("config.ini", "[Init]\r\nVER_SEL=0\r\n");
    program.language = LanguageMode::Chinese;
    program.paths.ProgramDir = u"C:\\prog";
    program.CurConfig = 3;
    program.config.K[1] = 17;
    macros.Edit([](MacroStoreData& d) { d.count = 2; });

    // A file of the new language is missing: nothing changes, not even VER_SEL.
    shell.skinLoads = false;
    switching.SwitchLanguage(LanguageMode::English);
    EXPECT_EQ(program.language.load(), LanguageMode::Chinese);
    EXPECT_EQ(profile.ReadString(program.paths.ConfigIniPath, u"Init", u"VER_SEL", 8), u"0");
    EXPECT_EQ(macros.Count(), 2);

    shell.skinLoads = true;
    shell.Take();
    const SkinEntry& english = skin.main.At(MainEntry::kEnglish);
    switching.MouseMove(english.x + 1, english.y + 1);
    switching.Press(english.x + 1, english.y + 1);
    switching.Release(english.x + 1, english.y + 1);
    EXPECT_EQ(program.language.load(), LanguageMode::English);
    EXPECT_EQ(profile.ReadString(program.paths.ConfigIniPath, u"Init", u"VER_SEL", 8), u"1");
    EXPECT_EQ(macros.Read([](const MacroStoreData& d) { return d.filePath; }), u"C:\\prog\\Macro_EN.dat");
    EXPECT_EQ(macros.Count(), 0);  // that file is not there: told, and no macros
    EXPECT_EQ(messages.shown.size(), 1u);
    const std::vector<std::string> effects = shell.Take();
    ASSERT_GE(effects.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(effects.end() - 3, effects.end()),
              (std::vector<std::string>{"skin en", "menus and title", "repaint"}));
    EXPECT_EQ(program.CurConfig, 3);
    EXPECT_EQ(program.config.K[1], 17);
}

TEST_F(ControllerTest, ExchangeFilesMoveOnlyTheWindowsConfigurationAndACancelChangesNothing) {
    FakeSkinFiles messages;
    messages.everyFileExists = true;
    FakeFileDialogs files;
    MainWindowController exchanging{skin, {program, handoff, macros, profile, shell, [this] { appliedWheels.push_back(program.config.WHEEL_STATUS); }, {},
                                           &popups, &files, &messages}};
    const auto click = [&](int entry) {
        const SkinEntry& e = skin.main.At(entry);
        exchanging.MouseMove(e.x + 1, e.y + 1);
        exchanging.Press(e.x + 1, e.y + 1);
        exchanging.Release(e.x + 1, e.y + 1);
    };
    program.CurConfig = 2;
    dir.Write("config.ini", "[Config2]\r\nWHEEL_STATUS=0\r\n");
    dir.Write("other.ini", "[Keep]\r\nA=1\r\n[Config7]\r\nWHEEL_STATUS=1\r\nK1=1\r\n");

    click(MainEntry::kImportConfig);  // cancelled
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].pattern, u"*.ini");
    EXPECT_EQ(program.config.WHEEL_STATUS, 0);

    files.answer = dir.File("other.ini");
    click(MainEntry::kImportConfig);
    EXPECT_EQ(program.config.WHEEL_STATUS, 1);
    EXPECT_TRUE(appliedWheels.empty());  // shown, not applied
    EXPECT_EQ(profile.ReadString(program.paths.ConfigIniPath, u"Config2", u"WHEEL_STATUS", 8), u"0");

    program.config.WHEEL_STATUS = 0;
    files.answer = dir.File("out.ini");
    click(MainEntry::kExportConfig);
    EXPECT_EQ(files.requests.back().defaultExtension, u"ini");
    EXPECT_EQ(profile.ReadString(dir.File("out.ini"), u"Config7", u"WHEEL_STATUS", 8), u"0");
    EXPECT_TRUE(messages.shown.empty());

    // A file without "Config7" (or a folder) is refused: told, nothing changed, nothing applied.
    dir.Write("not-exchange.ini", "[Config6]\r\nWHEEL_STATUS=1\r\nK1=1\r\n");
    files.answer = dir.File("not-exchange.ini");
    click(MainEntry::kImportConfig);
    EXPECT_EQ(program.config.WHEEL_STATUS, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find(u"not-exchange.ini"), std::u16string::npos);
    bool imported = true;
    for (const std::u16string& source : {dir.File("not-exchange.ini"), dir.File("")}) {
        exchanging.ImportConfigFrom(source, [&](bool ok) { imported = ok; });
        EXPECT_FALSE(imported);
    }
    EXPECT_TRUE(appliedWheels.empty());
    EXPECT_EQ(program.config.WHEEL_STATUS, 0);
    messages.shown.clear();

    // A script's import applies and so saves the current slot; a file that cannot be written is told.
    exchanging.ImportConfigFrom(dir.File("other.ini"), [&](bool ok) { imported = ok; });
    EXPECT_TRUE(imported);
    EXPECT_EQ(appliedWheels, std::vector<int>{1});
    files.answer = dir.File("no-such-folder/out.ini");
    click(MainEntry::kExportConfig);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(profile.ReadString(dir.File("other.ini"), u"Keep", u"A", 8), u"1");
}

TEST_F(ControllerTest, TheFactoryResetAsksFirstAndNoChangesNothing) {
    FakeSkinFiles messages;
    int resets = 0;
    MainWindowController resetting{skin, {program, handoff, macros, profile, shell, {}, [&] { ++resets; }, &popups,
                                          nullptr, &messages}};
    const SkinEntry& reset = skin.main.At(MainEntry::kFactoryReset);
    const auto click = [&] {
        resetting.MouseMove(reset.x + 1, reset.y + 1);
        resetting.Press(reset.x + 1, reset.y + 1);
        resetting.Release(reset.x + 1, reset.y + 1);
    };
    program.language = LanguageMode::English;
    click();  // answered No, as the default button would
    EXPECT_EQ(resets, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], u"? " + std::u16string(FactoryResetQuestion(LanguageMode::English)));
    messages.answer = Answer::Yes;
    click();
    EXPECT_EQ(resets, 1);
}

// The texts shown, in order.
struct TextMessages : MessagePort {
    void ShowMessage(std::u16string_view text) override { shown.push_back(Utf8FromUtf16(text)); }
    std::vector<std::string> shown;
};

TEST_F(ControllerTest, AFailedSaveIsToldOnceAndTheCloseThenKeepsTheConfiguration) {
    MemoryProfile readOnly;
    readOnly.failWrites = true;
    TextMessages messages;
    // An apply whose three saves all fail.
    const auto apply = [this] {
        for (int save = 0; save < 3; ++save) program.configSaveFailed = true;
    };
    MainWindowController failing{skin, {program, handoff, macros, readOnly, shell, apply, {}, &popups, nullptr, &messages}};
    const auto click = [&](int entry) {
        const SkinEntry& e = skin.main.At(entry);
        failing.MouseMove(e.x + 1, e.y + 1);
        failing.Press(e.x + 1, e.y + 1);
        failing.Release(e.x + 1, e.y + 1);
    };
    program.language = LanguageMode::English;
    const std::string english = "The configuration could not be saved to config.ini.";
    click(MainEntry::kApply);
    EXPECT_EQ(messages.shown, std::vector<std::string>{english});

    // The close cannot save the stage, so it keeps the configuration rather than reload an
    // applied copy the file no longer holds.
    program.language = LanguageMode::Chinese;
    program.config.WHEEL_SPEED = 9;
    program.config.DPI_LEVEL = 2;
    click(MainEntry::kClose);
    EXPECT_EQ(program.config.WHEEL_SPEED, 9);
    EXPECT_EQ(program.config.DPI_LEVEL, 2);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown.back(), Utf8FromUtf16(ConfigSaveFailedMessage(LanguageMode::Chinese)));

    // A failure of a button's request is told at the end of its change, once.
    failing.Change([this] { program.configSaveFailed = true; });
    failing.TellSaveFailure();
    failing.TellSaveFailure();
    EXPECT_EQ(messages.shown.size(), 3u);
}

}  // namespace
