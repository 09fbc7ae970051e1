// The config.ini we ship is data the program trusts at first start: check it like code.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
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
    std::recursive_mutex lock;
    ConfigFile file(profile, config, lock);
    EXPECT_EQ(file.ReadCurConfig(kDelivered).value, 1);
    EXPECT_EQ(file.ReadLanguage(kDelivered), 1);
}

TEST(DeliveredConfigTest, EverySlotAndPresetIsAUsableConfiguration) {
    IniProfile profile;
    ActiveConfig config;
    std::recursive_mutex lock;
    ConfigFile file(profile, config, lock);
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
        int leftButtons = 0;
        for (int code : config.K) {
            EXPECT_TRUE(IsCatalogued(code)) << code;
            leftButtons += code == 1;
        }
        EXPECT_GE(leftButtons, 1);
        ASSERT_GE(config.DPI_LEVEL, 0);
        ASSERT_LE(config.DPI_LEVEL, 3);
        EXPECT_EQ(config.DPI_SET_EN[config.DPI_LEVEL], 1);
        for (int st = 0; st < kDpiStageCount; ++st) EXPECT_LE(config.DPI_SET[st], 4);
        EXPECT_LE(config.LED_STATUS, 3);
        EXPECT_LE(config.DPI_SPEED, 9);
        EXPECT_LE(config.WHEEL_SPEED, 9);
        EXPECT_GE(config.FIRE_TIME, 0);
        EXPECT_LE(config.FIRE_TIME, kFireTimeMax);
    }
}

TEST(DeliveredConfigTest, SlotOneHoldsTheBuiltInDefaults) {
    IniProfile profile;
    ActiveConfig loaded;
    std::recursive_mutex lock;
    ConfigFile file(profile, loaded, lock);
    file.LoadConfig(kDelivered, 1, false, LanguageMode::English);
    ActiveConfig defaults;
    SetBuiltInDefaults(defaults);
    EXPECT_EQ(loaded, defaults);
}

}  // namespace
