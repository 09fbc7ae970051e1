// Moves ActiveConfig to and from the sections of config.ini (and exchange files of the same
// format): user slots "Config1".."Config5", the applied copy "Config6", the exchange section
// "Config7" and the factory presets.
#pragma once

#include <cstdint>
#include <string>

#include "config/active_config.h"
#include "core/language.h"
#include "config/program_state.h"
#include "platform/profile_port.h"

constexpr int kAppliedSlot = 6;
constexpr int kExchangeSlot = 7;
inline constexpr char16_t kIndicatorKey[] = u"OSD";
inline constexpr char16_t kTrayNoticeKey[] = u"TrayNotice";

// "Config" + n, or with preset set "CfgReset_EN5" (slot 5, English) or "CfgReset" + n.
std::u16string SlotSection(int slot, bool preset, LanguageMode language);

class ConfigFile {
public:
    ConfigFile(ProfilePort& profile, ActiveConfig& config) : profile_(profile), config_(config) {}

    // Fills every field of the configuration from one section, each value brought into its range
    // (button codes stay as read); a missing or empty key keeps its built-in value, so a missing
    // file or section loads the built-in configuration. Some button always keeps the left click.
    void LoadConfig(const std::u16string& file, int slot, bool preset, LanguageMode language);
    // Whether section "Config" + slot of file holds a value of any configuration key: a missing
    // file, section or key-less section holds no configuration.
    bool HoldsConfig(const std::u16string& file, int slot);
    // The saves below are whole or nothing (ProfilePort::SaveWhole): false, with the file as it
    // was, when a write failed.
    // Writes every field into section "Config" + slot, in the established key order.
    bool SaveConfig(const std::u16string& file, int slot);
    // Writes only DPI_LEVEL of section "Config" + slot.
    bool SaveDpiLevel(const std::u16string& file, int slot);
    // VER_SEL of section "Init", low 8 bits.
    std::uint8_t ReadLanguage(const std::u16string& file);
    // Key CurConfig of "Init" as text and number; read through a 5-character buffer. The number
    // is a user slot, 1 to 5 (1 when the key is missing).
    struct CurConfigValue {
        std::u16string text;
        int value = 0;
    };
    CurConfigValue ReadCurConfig(const std::u16string& file);
    bool WriteCurConfig(const std::u16string& file, int slot);
    // A switch of section "Init" stored as 0 or 1 (OSD: the indicator; TrayNotice: the first hide
    // was explained); a file without it, as older ones are, gives missing.
    bool ReadInitFlag(const std::u16string& file, const char16_t* key, bool missing);
    bool WriteInitFlag(const std::u16string& file, const char16_t* key, bool on);

    // Rewrites slots 1 to 5 from the factory values and reloads slot curConfig. The macro reset
    // and the final apply join this when the macro store and the device link provide them.
    // False when any slot could not be written.
    bool FactoryReset(const std::u16string& file, int curConfig, LanguageMode language);

    ActiveConfig& Config() { return config_; }

private:
    int ReadInt(const std::u16string& file, const std::u16string& section, const char16_t* key,
                std::size_t bufferChars);
    bool WriteInt(const std::u16string& file, const std::u16string& section, const char16_t* key,
                  long long value);
    bool WriteSlot(const std::u16string& file, int slot);

    ProfilePort& profile_;
    ActiveConfig& config_;
};

// slot becomes CurConfig and its section of config.ini the configuration of the window; a program
// profile that ran ends.
void SelectSlot(ProfilePort& profile, ProgramState& program, int slot);
