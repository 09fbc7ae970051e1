// The user-interface language, stored as VER_SEL in config.ini: 1 English, 0 Chinese.
#pragma once

#include <cstdint>

enum class LanguageMode : std::uint8_t { Chinese = 0, English = 1 };

// VER_SEL as read (its low 8 bits): exactly 1 means English, anything else Chinese.
inline LanguageMode LanguageFromVerSel(std::uint8_t verSel) {
    return verSel == 1 ? LanguageMode::English : LanguageMode::Chinese;
}
