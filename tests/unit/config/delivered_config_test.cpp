// The config.ini we ship is data the program trusts at first start: check it like code.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "config/config_file.h"
#include "platform/ini_profile.h"
#include "platform/text.h"

namespace {

const std::u16string kDelivered = Utf16FromUtf8(HXT_SOURCE_DIR "/data/config.ini");

bool IsCatalogued(int code) {
    return (code >= 0 && code <= 6) || (code >= 11 && code <= 19) || (code >= 21 && code <= 52);
}

TEST(DeliveredConfigTest, InitSelectsSlotOneInEnglish) {
    IniProfile profile;
    ActiveConfig config;
    ConfigFile file(profile, config);
    EXPECT_EQ(file.ReadCurConfig(kDelivered).value, 1);
    EXPECT_EQ(file.ReadLanguage(kDelivered), 1);
}

TEST(DeliveredConfigTest, EverySlotAndPresetIsAUsableConfiguration) {
    IniProfile profile;
    ActiveConfig config;
    ConfigFile file(profile, config);
    struct Source {
        int slot;
        bool preset;
        LanguageMode language;
    };
    const Source sources[] = {{1, false, LanguageMode::Chinese}, {2, false, LanguageMode::Chinese},
                              {3, false, LanguageMode::Chinese}, {4, false, LanguageMode::Chinese},
                              {5, false, LanguageMode::Chinese}, {2, true, LanguageMode::Chinese},
                              {3, true, LanguageMode::Chinese},  {4, true, LanguageMode::Chinese},
                              {5, true, LanguageMode::Chinese},  {5, true, LanguageMode::English}};
    for (const Source& s : sources) {
        const std::u16string section = SlotSection(s.slot, s.preset, s.language);
        SCOPED_TRACE(Utf8FromUtf16(section));
        // Every key present: a missing one would silently load as 0.
        for (const char16_t* key : {u"K1", u"K7", u"DPI_LEVEL", u"WHEEL_STATUS", u"MACRO_MODE2", u"DPI_SET4",
                                    u"DPI_SET_EN4", u"LED_STATUS", u"DPI_SPEED", u"WHEEL_SPEED", u"FIRE_TIME"}) {
            EXPECT_FALSE(profile.ReadString(kDelivered, section, key, 10).empty()) << Utf8FromUtf16(key);
        }
        file.LoadConfig(kDelivered, s.slot, s.preset, s.language);
        // The load would bring a value into range or give button 1 the left click: the file
        // itself must need neither, so every value loads as written.
        const auto raw = [&](const char16_t* key) { return WtoI(profile.ReadString(kDelivered, section, key, 10)); };
        const char16_t* const buttonKeys[] = {u"K1", u"K2", u"K3", u"K4", u"K5", u"K6", u"K7"};
        int leftButtons = 0;
        for (int k = 0; k < kButtonCount; ++k) {
            const int code = raw(buttonKeys[k]);
            EXPECT_TRUE(IsCatalogued(code)) << code;
            EXPECT_EQ(config.K[k], code);
            leftButtons += code == 1;
        }
        EXPECT_GE(leftButtons, 1);
        EXPECT_EQ(config.DPI_LEVEL, raw(u"DPI_LEVEL"));
        EXPECT_EQ(config.DPI_SET_EN[config.BoundedDpiLevel()], 1);
        const char16_t* const stageKeys[] = {u"DPI_SET1", u"DPI_SET2", u"DPI_SET3", u"DPI_SET4"};
        for (int st = 0; st < kDpiStageCount; ++st) EXPECT_EQ(config.DPI_SET[st], raw(stageKeys[st]));
        EXPECT_EQ(config.WHEEL_STATUS, raw(u"WHEEL_STATUS"));
        EXPECT_EQ(config.LED_STATUS, raw(u"LED_STATUS"));
        EXPECT_EQ(config.DPI_SPEED, raw(u"DPI_SPEED"));
        EXPECT_EQ(config.WHEEL_SPEED, raw(u"WHEEL_SPEED"));
        EXPECT_EQ(config.FIRE_TIME, raw(u"FIRE_TIME"));
    }
}

TEST(DeliveredConfigTest, SlotOneHoldsTheBuiltInDefaults) {
    IniProfile profile;
    ActiveConfig loaded;
    ConfigFile file(profile, loaded);
    file.LoadConfig(kDelivered, 1, false, LanguageMode::English);
    ActiveConfig defaults;
    SetBuiltInDefaults(defaults);
    EXPECT_EQ(loaded, defaults);
}

}  // namespace
