#include "config/config_file.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <vector>

#include "core/led_mode.h"
#include "platform/text.h"

namespace {
constexpr std::size_t kShortBuffer = 5;  // keeps 4 characters
constexpr std::size_t kLongBuffer = 10;  // keeps 9 characters

const char16_t* const kButtonKeys[kButtonCount] = {u"K1", u"K2", u"K3", u"K4", u"K5", u"K6", u"K7"};
const char16_t* const kStageKeys[kDpiStageCount] = {u"DPI_SET1", u"DPI_SET2", u"DPI_SET3", u"DPI_SET4"};
const char16_t* const kEnableKeys[kDpiStageCount] = {u"DPI_SET_EN1", u"DPI_SET_EN2", u"DPI_SET_EN3",
                                                     u"DPI_SET_EN4"};
const std::u16string kInitSection = u"Init";
}  // namespace

std::u16string SlotSection(int slot, bool preset, LanguageMode language) {
    if (!preset) return u"Config" + DecimalText(slot);
    if (slot == 5 && language == LanguageMode::English) return u"CfgReset_EN5";
    return u"CfgReset" + DecimalText(slot);
}

int ConfigFile::ReadInt(const std::u16string& file, const std::u16string& section, const char16_t* key,
                        std::size_t bufferChars) {
    return WtoI(profile_.ReadString(file, section, key, bufferChars));
}

bool ConfigFile::WriteInt(const std::u16string& file, const std::u16string& section, const char16_t* key,
                          long long value) {
    return profile_.WriteString(file, section, key, DecimalText(value));
}

void ConfigFile::LoadConfig(const std::u16string& file, int slot, bool preset, LanguageMode language) {
    const std::u16string section = SlotSection(slot, preset, language);
    // Every value is brought into its range here, once, so that the reports, the painting and
    // the next save all see the same value. A missing or empty key keeps the built-in value:
    // a missing file or section is the built-in configuration, never all zeros.
    const auto read = [&](const char16_t* key, std::size_t buffer, int builtIn, int low, int high) {
        const std::u16string text = profile_.ReadString(file, section, key, buffer);
        return text.empty() ? builtIn : std::clamp(WtoI(text), low, high);
    };
    constexpr int kAnyCode = std::numeric_limits<int>::max();
    ActiveConfig c;
    SetBuiltInDefaults(c);
    // Codes outside the catalogue stay as read; the apply never sends them.
    for (int i = 0; i < kButtonCount; ++i) c.K[i] = read(kButtonKeys[i], kShortBuffer, c.K[i], -kAnyCode, kAnyCode);
    c.EnsureLeftClick();
    c.WHEEL_STATUS = read(u"WHEEL_STATUS", kShortBuffer, c.WHEEL_STATUS, 0, 1);
    // Every reader takes any value but 0 as on.
    c.MACRO_MODE2 = read(u"MACRO_MODE2", kShortBuffer, 0, -kAnyCode, kAnyCode) != 0 ? 1 : 0;
    c.DPI_LEVEL = read(u"DPI_LEVEL", kShortBuffer, c.DPI_LEVEL, 0, kDpiStageCount - 1);
    for (int s = 0; s < kDpiStageCount; ++s) {
        const auto value = static_cast<std::uint8_t>(read(kStageKeys[s], kLongBuffer, c.DPI_SET[s], 0, kDpiStepCount - 1));
        c.SetStageValue(s, value);
        c.AppliedStageValues[s] = value;
        c.DPI_SET_EN[s] = read(kEnableKeys[s], kLongBuffer, c.DPI_SET_EN[s], -kAnyCode, kAnyCode) != 0 ? 1 : 0;
    }
    c.LED_STATUS = static_cast<std::uint8_t>(read(u"LED_STATUS", kShortBuffer, c.LED_STATUS, 0, kLedModeCount - 1));
    c.DPI_SPEED = static_cast<std::uint8_t>(read(u"DPI_SPEED", kShortBuffer, c.DPI_SPEED, 0, kSpeedMax));
    c.WHEEL_SPEED = static_cast<std::uint8_t>(read(u"WHEEL_SPEED", kShortBuffer, c.WHEEL_SPEED, 0, kSpeedMax));
    c.FIRE_TIME = read(u"FIRE_TIME", kShortBuffer, c.FIRE_TIME, 0, kFireTimeMax);
    config_ = c;
}

bool ConfigFile::HoldsConfig(const std::u16string& file, int slot) {
    const std::u16string section = SlotSection(slot, false, LanguageMode::Chinese);
    std::vector<const char16_t*> keys(std::begin(kButtonKeys), std::end(kButtonKeys));
    keys.insert(keys.end(), std::begin(kStageKeys), std::end(kStageKeys));
    keys.insert(keys.end(), std::begin(kEnableKeys), std::end(kEnableKeys));
    keys.insert(keys.end(), {u"DPI_LEVEL", u"WHEEL_STATUS", u"MACRO_MODE2", u"LED_STATUS", u"DPI_SPEED", u"WHEEL_SPEED",
                             u"FIRE_TIME"});
    for (const char16_t* key : keys) {
        if (!profile_.ReadString(file, section, key, kShortBuffer).empty()) return true;
    }
    return false;
}

bool ConfigFile::SaveConfig(const std::u16string& file, int slot) {
    return profile_.SaveWhole(file, [&](const std::u16string& target) { return WriteSlot(target, slot); });
}

bool ConfigFile::WriteSlot(const std::u16string& file, int slot) {
    const std::u16string section = SlotSection(slot, false, LanguageMode::Chinese);
    const ActiveConfig& c = config_;
    // The save is whole or nothing, so the first failed key ends it.
    bool ok = true;
    const auto write = [&](const char16_t* key, long long value) { ok = ok && WriteInt(file, section, key, value); };
    for (int i = 0; i < kButtonCount; ++i) write(kButtonKeys[i], c.K[i]);
    write(u"DPI_LEVEL", c.DPI_LEVEL);
    write(u"WHEEL_STATUS", c.WHEEL_STATUS);
    write(u"MACRO_MODE2", c.MACRO_MODE2);
    for (int s = 0; s < kDpiStageCount; ++s) {
        write(kStageKeys[s], c.DPI_SET[s]);
        write(kEnableKeys[s], c.DPI_SET_EN[s] != 0 ? 1 : 0);
    }
    write(u"LED_STATUS", c.LED_STATUS);
    write(u"DPI_SPEED", c.DPI_SPEED);
    write(u"WHEEL_SPEED", c.WHEEL_SPEED);
    write(u"FIRE_TIME", c.FIRE_TIME);
    return ok;
}

bool ConfigFile::SaveDpiLevel(const std::u16string& file, int slot) {
    return profile_.SaveWhole(file, [&](const std::u16string& target) {
        return WriteInt(target, SlotSection(slot, false, LanguageMode::Chinese), u"DPI_LEVEL", config_.DPI_LEVEL);
    });
}

std::uint8_t ConfigFile::ReadLanguage(const std::u16string& file) {
    return static_cast<std::uint8_t>(ReadInt(file, kInitSection, u"VER_SEL", kShortBuffer));
}

ConfigFile::CurConfigValue ConfigFile::ReadCurConfig(const std::u16string& file) {
    CurConfigValue result;
    result.text = profile_.ReadString(file, kInitSection, u"CurConfig", kShortBuffer);
    // No slot, or one outside the user slots, is slot 1 or 5.
    result.value = result.text.empty() ? 1 : std::clamp(WtoI(result.text), 1, kUserSlotCount);
    return result;
}

bool ConfigFile::WriteCurConfig(const std::u16string& file, int slot) {
    return profile_.SaveWhole(file, [&](const std::u16string& target) {
        return WriteInt(target, kInitSection, u"CurConfig", slot);
    });
}

bool ConfigFile::ReadInitFlag(const std::u16string& file, const char16_t* key, bool missing) {
    const std::u16string text = profile_.ReadString(file, kInitSection, key, kShortBuffer);
    return text.empty() ? missing : WtoI(text) != 0;
}

bool ConfigFile::WriteInitFlag(const std::u16string& file, const char16_t* key, bool on) {
    return profile_.SaveWhole(file, [&](const std::u16string& target) { return WriteInt(target, kInitSection, key, on ? 1 : 0); });
}

bool ConfigFile::FactoryReset(const std::u16string& file, int curConfig, LanguageMode language) {
    SetBuiltInDefaults(config_);
    bool ok = SaveConfig(file, 1);
    for (int slot = 5; slot >= 2; --slot) {
        LoadConfig(file, slot, true, language);
        ok = SaveConfig(file, slot) && ok;
    }
    LoadConfig(file, curConfig, false, language);
    return ok;
}

void SelectSlot(ProfilePort& profile, ProgramState& program, int slot) {
    // The user's own choice: no program profile runs any more.
    program.profile.reset();
    program.CurConfig = slot;
    ConfigFile(profile, program.config)
        .LoadConfig(program.paths.ConfigIniPath, slot, false, program.language.load());
}
