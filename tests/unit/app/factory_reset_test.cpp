#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/factory_reset.h"
#include "platform/ini_profile.h"
#include "support/memory_profile.h"
#include "support/recording_messages.h"
#include "temp_dir.h"

namespace {

// The program folder is a name inside the temp dir, as Windows paths are on this platform.
struct FactoryResetTest : ::testing::Test {
    TempDir dir;
    IniProfile profile;
    RecordingMessages messages;
    ProgramServices services;
    std::vector<std::string> effects;
    FactoryResetContext context{services, profile, messages, [this] { effects.push_back("refill"); },
                                [this] {
                                    // The apply must see the reset configuration and macros.
                                    effects.push_back("apply K1=" + std::to_string(services.program.config.K[0]) +
                                                      " macros=" + std::to_string(services.macros.Count()));
                                }};

    FactoryResetTest() {
        ProgramState& program = services.program;
        program.paths.ProgramDir = dir.File("prog");
        program.paths.ConfigIniPath = dir.File("prog\\config.ini");
        program.paths.SkinsDir = dir.File("prog\\skins");
        program.language = LanguageMode::English;
        program.CurConfig = 2;
        program.config.K[0] = 9;
        // K7 keeps the left click, so K1 shows which preset a slot came from.
        dir.Write("prog\\config.ini", "[CfgReset2]\r\nK1=2\r\nK7=1\r\n[CfgReset3]\r\nK1=3\r\nK7=1\r\n"
                                      "[CfgReset4]\r\nK1=4\r\nK7=1\r\n[CfgReset_EN5]\r\nK1=5\r\nK7=1\r\n"
                                      "[Config2]\r\nK1=9\r\n");
        // The user has one macro of their own.
        services.macros.Edit([](MacroStoreData& data) {
            data.records[0] = NewMacro(u"mine");
            data.count = 1;
        });
        dir.Write("prog\\Macro_EN.dat", "[Macros]\r\nmacroNum=1\r\n");
    }
    std::string Key(const char16_t* section, const char16_t* key) {
        return Utf8FromUtf16(profile.ReadString(services.program.paths.ConfigIniPath, section, key, 16));
    }
};

TEST_F(FactoryResetTest, SlotsThenMacrosThenTheListThenTheApply) {
    dir.Write("prog\\skins\\INI_EN\\defMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
    EXPECT_TRUE(FactoryReset(context));
    EXPECT_EQ(effects, (std::vector<std::string>{"refill", "apply K1=2 macros=0"}));
    EXPECT_EQ(Key(u"Config3", u"K1"), "3");
    EXPECT_EQ(Key(u"Config5", u"K1"), "5");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_NE(dir.Read("prog\\Macro_EN.dat").find("macroNum=0"), std::string::npos);
}

TEST_F(FactoryResetTest, WithoutTheDefaultMacrosTheUsersMacrosStayAndTheSlotsAreStillApplied) {
    EXPECT_FALSE(FactoryReset(context));
    EXPECT_EQ(messages.shown, (std::vector<std::u16string>{kMissingFileMessage}));
    EXPECT_EQ(effects, (std::vector<std::string>{"apply K1=2 macros=1"}));
    EXPECT_NE(dir.Read("prog\\Macro_EN.dat").find("macroNum=1"), std::string::npos);
}

TEST_F(FactoryResetTest, FilesThatCannotBeWrittenAreToldAndTheResetMacrosStayInTheList) {
    MemoryProfile readOnly;
    readOnly.failWrites = true;
    readOnly.values[{services.program.paths.ConfigIniPath, u"CfgReset2", u"K1"}] = u"2";
    readOnly.values[{services.program.paths.ConfigIniPath, u"CfgReset2", u"K7"}] = u"1";
    readOnly.values[{services.program.paths.ConfigIniPath, u"Config2", u"K1"}] = u"9";
    readOnly.values[{services.program.paths.ConfigIniPath, u"Config2", u"K7"}] = u"1";
    dir.Write("prog\\skins\\INI_EN\\defMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
    readOnly.values[{DefaultMacroFilePath(services.program.paths.SkinsDir, LanguageMode::English), u"Macros",
                     u"macroNum"}] = u"0";
    FactoryResetContext failing{services, readOnly, messages, [this] { effects.push_back("refill"); }, context.apply};
    EXPECT_TRUE(FactoryReset(failing));
    // The configuration is what the file holds; the window tells the failed save once it is free.
    EXPECT_TRUE(services.program.configSaveFailed.load());
    EXPECT_EQ(messages.shown, (std::vector<std::u16string>{std::u16string(MacroSaveFailedMessage(LanguageMode::English))}));
    EXPECT_EQ(effects, (std::vector<std::string>{"refill", "apply K1=9 macros=0"}));
}

}  // namespace
