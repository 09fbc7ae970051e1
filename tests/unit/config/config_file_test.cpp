#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <vector>

#include "config/config_file.h"
#include "platform/ini_profile.h"
#include "support/memory_profile.h"
#include "temp_dir.h"

namespace {

// The key=value lines of a file, with line endings and blank lines dropped.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

struct ConfigFileTest : ::testing::Test {
    TempDir dir;
    IniProfile profile;
    ActiveConfig config;
    ConfigFile file{profile, config};
    std::u16string ini = dir.File("config.ini");
};

TEST_F(ConfigFileTest, ValuesAreCutToTheirBuffersBeforeConversion) {
    dir.Write("config.ini",
              "[Config1]\r\nK1=12345\r\nK2=-987\r\nK3=1\r\nDPI_SET1=1234567890\r\nDPI_SET2=000000000260\r\n"
              "DPI_SET3=260\r\nDPI_SET_EN2=7\r\nDPI_SET_EN3=0000000001\r\nLED_STATUS=2000\r\n"
              "FIRE_TIME=00120000\r\nDPI_LEVEL= 2x\r\n");
    file.LoadConfig(ini, 1, false, LanguageMode::English);
    EXPECT_EQ(config.K[0], 1234);
    EXPECT_EQ(config.K[1], -987);
    EXPECT_EQ(config.DPI_SET[0], 4);  // nine characters kept, then bounded
    EXPECT_EQ(config.DPI_SET[1], 0);  // "000000000" is all that fits
    EXPECT_EQ(config.DPI_SET[2], 4);
    EXPECT_EQ(config.ValueItem[2], 74);
    EXPECT_EQ(config.AppliedStageValues[2], 4);
    EXPECT_EQ(config.DPI_SET_EN[1], 1);
    EXPECT_EQ(config.DPI_SET_EN[2], 0);  // "000000000" of "0000000001" reads as zero
    EXPECT_EQ(config.LED_STATUS, 3);
    EXPECT_EQ(config.FIRE_TIME, 12);  // "0012"
    EXPECT_EQ(config.DPI_LEVEL, 2);

    file.SaveConfig(ini, 1);
    IniProfile check;
    EXPECT_EQ(check.ReadString(ini, u"Config1", u"DPI_SET_EN2", 10), u"1");
    EXPECT_EQ(check.ReadString(ini, u"Config1", u"DPI_SET3", 10), u"4");
    EXPECT_EQ(check.ReadString(ini, u"Config1", u"K1", 10), u"1234");
}

TEST_F(ConfigFileTest, HandEditedValuesAreBroughtIntoTheirRangesWhenLoadedAndSavedSo) {
    dir.Write("config.ini",
              "[Config2]\r\nK1=2\r\nK2=999\r\nK3=-4\r\nK4=0\r\nK5=0\r\nK6=0\r\nK7=0\r\n"
              "DPI_SET1=-5\r\nDPI_SET2=5\r\nDPI_SET_EN1=-1\r\nDPI_SET_EN2=0\r\nLED_STATUS=9999\r\n"
              "WHEEL_STATUS=-9999\r\nFIRE_TIME=100000\r\nDPI_SPEED=99\r\nWHEEL_SPEED=-1\r\n"
              "DPI_LEVEL=7\r\nMACRO_MODE2=5\r\n");
    file.LoadConfig(ini, 2, false, LanguageMode::Chinese);
    // No button held the left click: button 1 takes it; codes outside the catalogue stay.
    EXPECT_EQ(config.K, (std::array<std::int32_t, kButtonCount>{1, 999, -4, 0, 0, 0, 0}));
    EXPECT_EQ(config.DPI_SET, (std::array<std::uint8_t, kDpiStageCount>{0, 4, 4, 0}));  // 3 and 4 built in
    EXPECT_EQ(config.AppliedStageValues, config.DPI_SET);
    EXPECT_EQ(config.ValueItem[1], 69);
    EXPECT_EQ(config.DPI_SET_EN, (std::array<std::uint8_t, kDpiStageCount>{1, 0, 1, 1}));
    EXPECT_EQ(config.LED_STATUS, 3);
    EXPECT_EQ(config.WHEEL_STATUS, 0);
    EXPECT_EQ(config.FIRE_TIME, kFireTimeMax);
    EXPECT_EQ(config.DPI_SPEED, 9);
    EXPECT_EQ(config.WHEEL_SPEED, 0);
    EXPECT_EQ(config.DPI_LEVEL, 3);
    EXPECT_EQ(config.MACRO_MODE2, 1);

    file.SaveConfig(ini, 2);
    EXPECT_EQ(profile.ReadString(ini, u"Config2", u"LED_STATUS", 10), u"3");
    EXPECT_EQ(profile.ReadString(ini, u"Config2", u"K1", 10), u"1");
    EXPECT_EQ(profile.ReadString(ini, u"Config2", u"FIRE_TIME", 10), u"300");

    // A left click on any button stays where it is; an empty value keeps the built-in one.
    dir.Write("config.ini", "[Config7]\r\nK1=2\r\nK5=1\r\nFIRE_TIME=\r\nWHEEL_STATUS=1\r\n");
    file.LoadConfig(ini, kExchangeSlot, false, LanguageMode::Chinese);
    EXPECT_EQ(config.K[0], 2);
    EXPECT_EQ(config.K[4], 1);
    EXPECT_EQ(config.FIRE_TIME, 50);
    EXPECT_EQ(config.WHEEL_STATUS, 1);
}

TEST_F(ConfigFileTest, MissingSectionOrFileLoadsTheBuiltInDefaults) {
    ActiveConfig defaults;
    SetBuiltInDefaults(defaults);
    config.FIRE_TIME = 7;
    config.MACRO_MODE2 = 1;
    file.LoadConfig(dir.File("absent.ini"), 3, false, LanguageMode::Chinese);
    EXPECT_EQ(config, defaults);

    dir.Write("config.ini", "[Config2]\r\n");
    config.K.fill(0);
    file.LoadConfig(ini, 2, false, LanguageMode::Chinese);
    EXPECT_EQ(config, defaults);
    file.LoadConfig(ini, 4, true, LanguageMode::Chinese);  // a missing preset alike
    EXPECT_EQ(config, defaults);
}

TEST_F(ConfigFileTest, NewSectionFromDefaultsHasTheEstablishedKeysInOrder) {
    SetBuiltInDefaults(config);
    config.MACRO_MODE2 = 0;
    file.SaveConfig(ini, 1);
    const std::vector<std::string> expected = {
        "[Config1]",      "K1=1",          "K2=2",          "K3=3",          "K4=5",
        "K5=4",           "K6=18",         "K7=17",         "DPI_LEVEL=0",   "WHEEL_STATUS=0",
        "MACRO_MODE2=0",  "DPI_SET1=1",    "DPI_SET_EN1=1", "DPI_SET2=2",    "DPI_SET_EN2=1",
        "DPI_SET3=4",     "DPI_SET_EN3=1", "DPI_SET4=0",    "DPI_SET_EN4=1", "LED_STATUS=0",
        "DPI_SPEED=4",    "WHEEL_SPEED=2", "FIRE_TIME=50"};
    EXPECT_EQ(Lines(dir.Read("config.ini")), expected);
}

TEST_F(ConfigFileTest, SaveAndLoadRoundTripKeepsEveryFieldAndOtherSections) {
    dir.Write("config.ini", "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n[Config3]\r\nK1=9\r\n");
    SetBuiltInDefaults(config);
    config.K = {1, -3, 40, 41, 52, 0, 255};
    config.SetStageValue(1, 3);
    config.DPI_SET_EN = {1, 0, 1, 0};
    config.DPI_LEVEL = 2;
    config.WHEEL_STATUS = 1;
    config.MACRO_MODE2 = 1;
    config.LED_STATUS = 2;
    config.DPI_SPEED = 9;
    config.WHEEL_SPEED = 0;
    config.FIRE_TIME = 300;
    file.SaveConfig(ini, 2);
    const ActiveConfig saved = config;

    config = ActiveConfig{};
    file.LoadConfig(ini, 2, false, LanguageMode::Chinese);
    ActiveConfig expected = saved;
    expected.AppliedStageValues = saved.DPI_SET;  // a load sets both copies
    EXPECT_EQ(config, expected);
    EXPECT_EQ(file.ReadCurConfig(ini).value, 2);
    EXPECT_EQ(file.ReadLanguage(ini), 1);
    EXPECT_EQ(profile.ReadString(ini, u"Config3", u"K1", 5), u"9");
}

TEST_F(ConfigFileTest, EditingAStageLeavesTheAppliedCopyUntilTheNextLoad) {
    dir.Write("config.ini", "[Config1]\r\nDPI_SET1=2\r\n");
    file.LoadConfig(ini, 1, false, LanguageMode::Chinese);
    config.SetStageValue(0, 4);
    EXPECT_EQ(config.DPI_SET[0], 4);
    EXPECT_EQ(config.ValueItem[0], 64);
    EXPECT_EQ(config.AppliedStageValues[0], 2);
}

TEST_F(ConfigFileTest, SaveDpiLevelWritesOnlyThatKey) {
    dir.Write("config.ini", "[Config6]\r\nK1=7\r\nDPI_LEVEL=0\r\n");
    config.DPI_LEVEL = 3;
    config.K[0] = 99;
    file.SaveDpiLevel(ini, 6);
    EXPECT_EQ(profile.ReadString(ini, u"Config6", u"DPI_LEVEL", 5), u"3");
    EXPECT_EQ(profile.ReadString(ini, u"Config6", u"K1", 5), u"7");
}

TEST(SlotSectionTest, PresetSectionDependsOnLanguageOnlyForSlotFive) {
    EXPECT_EQ(SlotSection(5, true, LanguageMode::English), u"CfgReset_EN5");
    EXPECT_EQ(SlotSection(5, true, LanguageMode::Chinese), u"CfgReset5");
    EXPECT_EQ(SlotSection(4, true, LanguageMode::English), u"CfgReset4");
    EXPECT_EQ(SlotSection(4, true, LanguageMode::Chinese), u"CfgReset4");
    EXPECT_EQ(SlotSection(5, false, LanguageMode::English), u"Config5");
    EXPECT_EQ(SlotSection(-1, false, LanguageMode::English), u"Config-1");
}

TEST_F(ConfigFileTest, FactoryResetRewritesAllSlotsFromPresetsByLanguage) {
    dir.Write("config.ini",
              "[Init]\r\nCurConfig=3\r\nVER_SEL=1\r\n"
              "[Config1]\r\nK1=40\r\n[Config3]\r\nK1=41\r\n"
              "[CfgReset2]\r\nK1=1\r\nK2=22\r\nFIRE_TIME=120\r\n"
              "[CfgReset3]\r\nK1=1\r\nK2=33\r\nDPI_SET1=3\r\nDPI_SET_EN1=1\r\n"
              "[CfgReset5]\r\nK1=1\r\nK2=55\r\n"
              "[CfgReset_EN5]\r\nK1=1\r\nK2=56\r\n");
    for (LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
        config.MACRO_MODE2 = 1;  // the active value is what slot 1 keeps
        file.FactoryReset(ini, 3, language);
        EXPECT_EQ(profile.ReadString(ini, u"Config1", u"K6", 5), u"18");
        EXPECT_EQ(profile.ReadString(ini, u"Config1", u"MACRO_MODE2", 5), u"1");
        EXPECT_EQ(profile.ReadString(ini, u"Config2", u"FIRE_TIME", 5), u"120");
        EXPECT_EQ(profile.ReadString(ini, u"Config4", u"K1", 5), u"1");  // no preset: built-in values
        EXPECT_EQ(profile.ReadString(ini, u"Config4", u"K6", 5), u"18");
        EXPECT_EQ(profile.ReadString(ini, u"Config5", u"K2", 5),
                  language == LanguageMode::English ? u"56" : u"55");
        // The slot shown is reloaded in its new state.
        EXPECT_EQ(config.K[1], 33);
        EXPECT_EQ(config.DPI_SET[0], 3);
        EXPECT_EQ(config.ValueItem[0], 63);
    }
    EXPECT_EQ(profile.ReadString(ini, u"CfgReset5", u"K2", 5), u"55");  // presets are never written
}

TEST(ConfigFileWriteTest, ASaveIsWholeOrNothingAndAFailureReachesTheCaller) {
    MemoryProfile profile;
    ActiveConfig config;
    ConfigFile file(profile, config);
    const std::u16string ini = u"config.ini";
    EXPECT_TRUE(file.SaveConfig(ini, 1));
    EXPECT_TRUE(file.SaveDpiLevel(ini, 6));
    EXPECT_TRUE(file.WriteCurConfig(ini, 2));
    EXPECT_TRUE(file.FactoryReset(ini, 2, LanguageMode::English));
    const auto before = profile.values;

    // A key of a slot fails: the save fails and the file keeps every value it had, the keys
    // before the failed one included; no copy is left beside it.
    config.FIRE_TIME = 99;
    config.K[0] = 7;
    profile.failingKeys = {{u"Config1", u"FIRE_TIME"}};
    EXPECT_FALSE(file.SaveConfig(ini, 1));
    EXPECT_EQ(profile.values, before);
    EXPECT_TRUE(file.SaveConfig(ini, 2));
    EXPECT_EQ(profile.Value(ini, u"Config2", u"FIRE_TIME"), "99");
    EXPECT_FALSE(file.FactoryReset(ini, 2, LanguageMode::English));
    // A slot the reset writes before its last one.
    profile.failingKeys = {{u"Config5", u"FIRE_TIME"}};
    EXPECT_FALSE(file.FactoryReset(ini, 2, LanguageMode::English));
    EXPECT_TRUE(file.SaveDpiLevel(ini, 5));

    const auto beforeSingleKeys = profile.values;
    profile.failingKeys = {{u"Config6", u"DPI_LEVEL"}, {u"Init", u"CurConfig"}};
    EXPECT_FALSE(file.SaveDpiLevel(ini, 6));
    EXPECT_FALSE(file.WriteCurConfig(ini, 3));
    EXPECT_EQ(profile.values, beforeSingleKeys);
}

}  // namespace
