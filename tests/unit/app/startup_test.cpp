#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup.h"
#include "core/user_texts.h"
#include "support/recording_messages.h"
#include "platform/file_path.h"
#include "platform/ini_profile.h"
#include "platform/text.h"
#include "temp_dir.h"

namespace {

// Start-up builds "<ProgramDir>\config.ini", which on this platform is a file name inside the
// temp dir: the dir itself stands in for the program folder's parent.
struct StartupTest : ::testing::Test {
    TempDir dir;
    IniProfile profile;
    ProgramState state;
    StartupTest() { state.paths.ProgramDir = dir.File("prog"); }
    void WriteIni(const std::string& text) { dir.Write("prog\\config.ini", text); }
};

TEST_F(StartupTest, CurConfigIsReadThroughAFiveCharacterBufferAndIsAUserSlot) {
    WriteIni("[Init]\r\nCurConfig=12345\r\nVER_SEL=1\r\n[Config5]\r\nK1=40\r\nK2=1\r\n");
    LoadStartupConfiguration(profile, state);
    EXPECT_EQ(state.CurConfig, 5);  // 1234
    EXPECT_EQ(state.CurrentSection, u"Config5");
    EXPECT_EQ(state.language, LanguageMode::English);
    EXPECT_EQ(state.config.K[0], 40);

    EXPECT_TRUE(state.indicatorOn);  // a file from before the indicator shows it

    WriteIni("[Init]\r\nCurConfig=-3\r\nOSD=0\r\n");
    LoadStartupConfiguration(profile, state);
    EXPECT_EQ(state.CurConfig, 1);
    EXPECT_FALSE(state.indicatorOn);
}

TEST_F(StartupTest, MissingFileLoadsSlotOneWithTheBuiltInConfigurationInChinese) {
    state.config.FIRE_TIME = 7;
    LoadStartupConfiguration(profile, state);
    EXPECT_EQ(state.CurConfig, 1);
    EXPECT_EQ(state.CurrentSection, u"Config1");
    EXPECT_EQ(state.language, LanguageMode::Chinese);
    ActiveConfig defaults;
    SetBuiltInDefaults(defaults);
    EXPECT_EQ(state.config, defaults);
    EXPECT_EQ(state.paths.ConfigIniPath, dir.File("prog") + u"\\config.ini");
}

// A config.ini the program cannot read is kept aside, never read as empty and saved over.
TEST_F(StartupTest, AnUnreadableConfigIniIsKeptAsideAndTheBuiltInOneServes) {
    const std::string utf16WithoutMark("[\0I\0n\0i\0t\0]\0\r\0\n\0C\0u\0r\0C\0o\0n\0f\0i\0g\0=\0""3\0", 34);
    const std::u16string ini = dir.File("prog\\config.ini");
    ActiveConfig defaults;
    SetBuiltInDefaults(defaults);
    for (const std::u16string suffix : {u".unreadable", u".unreadable2"}) {
        WriteIni(utf16WithoutMark);
        state.config.FIRE_TIME = 7;
        EXPECT_EQ(LoadStartupConfiguration(profile, state), ini + suffix);
        EXPECT_EQ(dir.Read("prog\\config.ini" + Utf8FromUtf16(suffix)), utf16WithoutMark);  // byte for byte
        EXPECT_FALSE(PathExists(ini));
        EXPECT_EQ(state.config, defaults);
        EXPECT_EQ(state.CurConfig, 1);
    }
    WriteIni("[Init]\r\nCurConfig=2\r\n" + std::string(kMaxConfigIniBytes, ';'));  // too big to be ours
    EXPECT_EQ(LoadStartupConfiguration(profile, state), ini + u".unreadable3");
    // A file with any of its sections is the user's, however little it holds.
    WriteIni("[Config4]\r\nFIRE_TIME=16\r\n");
    EXPECT_EQ(LoadStartupConfiguration(profile, state), std::nullopt);
    EXPECT_TRUE(PathExists(ini));
}

// Macros an unplug left unsaved are offered back once; restored, they still wait to be saved.
TEST_F(StartupTest, MacrosKeptAtAnUnplugAreOfferedBackOnce) {
    ProgramServices services;
    services.program.paths.ProgramDir = dir.File("prog");
    services.program.language = LanguageMode::English;
    const auto macroFile = [](int count) {
        std::string text = "[Macros]\r\nmacroNum=" + std::to_string(count) + "\r\n";
        for (int m = 0; m < count; ++m) {
            text += std::to_string(m) + "=" + Utf8FromUtf16(EncodeMacroValue(EncodeRecord(NewMacro(u"m")))) + "\r\n";
        }
        return text;
    };
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        dir.Write("prog\\Macro_EN.dat", macroFile(1));
        dir.Write("prog\\Macro_EN.dat.unsaved", macroFile(2));
        RecordingMessages messages;
        messages.answer = answer;
        LoadStartupMacros(profile, messages, services);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], u"? " + std::u16string(RestoreMacrosQuestion(LanguageMode::English)));
        EXPECT_EQ(services.macros.Count(), answer == Answer::Yes ? 2 : 1);
        EXPECT_EQ(services.macros.Read(HasUnsavedMacros), answer == Answer::Yes);
        EXPECT_FALSE(PathExists(dir.File("prog\\Macro_EN.dat.unsaved")));
    }
}

TEST_F(StartupTest, OnlyVerSelOneMeansEnglish) {
    WriteIni("[Init]\r\nCurConfig=2\r\nVER_SEL=257\r\n");  // low 8 bits are 1
    LoadStartupConfiguration(profile, state);
    EXPECT_EQ(state.language, LanguageMode::English);
    WriteIni("[Init]\r\nCurConfig=2\r\nVER_SEL=2\r\n");
    LoadStartupConfiguration(profile, state);
    EXPECT_EQ(state.language, LanguageMode::Chinese);
}

TEST(AppPathsTest, PathsAreBuiltFromTheModulePath) {
    const std::u16string dir = ProgramDirFromModulePath(u"C:\\Games\\Mouse\\HXT_GMouse.exe");
    EXPECT_EQ(dir, u"C:\\Games\\Mouse");
    EXPECT_EQ(ConfigIniPathOf(dir), u"C:\\Games\\Mouse\\config.ini");
    EXPECT_EQ(MaskImagePathOf(SkinsDirOf(dir)), u"C:\\Games\\Mouse\\skins\\main_mask.jpg");
    EXPECT_EQ(MacroFilePathOf(dir, LanguageMode::English), u"C:\\Games\\Mouse\\Macro_EN.dat");
    EXPECT_EQ(MacroFilePathOf(dir, LanguageMode::Chinese), u"C:\\Games\\Mouse\\Macro_CN.dat");
    EXPECT_EQ(ProgramDirFromModulePath(u"HXT_GMouse.exe"), u"");
    EXPECT_EQ(ConfigIniPathOf(ProgramDirFromModulePath(u"HXT_GMouse.exe")), u"\\config.ini");
}

}  // namespace

namespace {

// Records the steps as the window would carry them out.
struct RecordingStartup : StartupSteps {
    bool hasMouse = true;
    bool mouseFound = true;
    bool skinLoads = true;
    std::vector<std::string> steps;
    bool HasMouse() override { return hasMouse; }
    void StartWorkers() override { steps.push_back("workers"); }
    void LoadConfiguration() override { steps.push_back("configuration"); }
    void SetTitle() override { steps.push_back("title"); }
    void CreateFonts() override { steps.push_back("fonts"); }
    bool LoadSkin() override {
        steps.push_back("skin");
        return skinLoads;
    }
    void AbandonStartup() override { steps.push_back("abandon"); }
    void ShapeWindow() override { steps.push_back("shape"); }
    void LoadMacros() override { steps.push_back("macros"); }
    void LoadMenus() override { steps.push_back("menus"); }
    bool FindMouse() override {
        steps.push_back("find");
        return mouseFound;
    }
    void ShowPlugInMessage() override { steps.push_back("plug-in message"); }
    void CloseProgram() override { steps.push_back("close"); }
    void WaitBeforeFirstApply() override { steps.push_back("wait"); }
    void Apply() override { steps.push_back("apply"); }

    // Both halves, with the first paint between them as the window would have it.
    void Run() {
        if (!RunWindowStartup(*this)) return;
        steps.push_back("first paint");
        RunStartupAfterFirstPaint(*this);
    }
};

TEST(StartupSequence, TheWindowPaintsBeforeTheMouseIsAppliedAndNeverShowsWithoutIt) {
    const std::vector<std::string> window = {"configuration", "title", "fonts", "skin", "shape"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> all = window;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    RecordingStartup found;
    found.Run();
    EXPECT_EQ(found.steps, with({"macros", "menus", "find", "first paint", "workers", "wait", "apply"}));

    // No window comes up without the mouse; the configuration is still applied to Windows and
    // saved after the program was told to close.
    RecordingStartup missing;
    missing.mouseFound = false;
    missing.Run();
    EXPECT_EQ(missing.steps, with({"macros", "menus", "find", "plug-in message", "close", "wait", "apply"}));

    // A window without the mouse side only shows the configuration.
    RecordingStartup showOnly;
    showOnly.hasMouse = false;
    showOnly.Run();
    EXPECT_EQ(showOnly.steps, with({"menus", "first paint"}));

    // Without its skin the window never comes up, and the mouse is never looked for or applied.
    RecordingStartup noSkin;
    noSkin.skinLoads = false;
    noSkin.Run();
    EXPECT_EQ(noSkin.steps, (std::vector<std::string>{"configuration", "title", "fonts", "skin", "abandon"}));
}

}  // namespace
