// The macro file: an INI file with section "Macros", key "macroNum" and one key per macro whose
// value is the record image, every byte as three decimal digits. Loads, saves, the choice of the
// file by language and the reset from the default macros.
#pragma once

#include <string>
#include <string_view>

#include "core/app_paths.h"
#include "core/language.h"
#include "core/user_texts.h"
#include "macros/macro_store.h"
#include "platform/message_port.h"
#include "platform/profile_port.h"

constexpr std::size_t kMacroValueChars = 3 * kMacroImageSize;  // 3192
inline constexpr char16_t kMacroSection[] = u"Macros";
inline constexpr char16_t kMacroCountKey[] = u"macroNum";

// The 3192-digit value of an image: "%03d" of every byte in order.
std::u16string EncodeMacroValue(const MacroImage& image);
// Byte i from characters 3i..3i+2, converted like _wtoi, low 8 bits; what is missing gives 0.
MacroImage DecodeMacroValue(std::u16string_view value);

// Replaces the macros from the file at path. A missing file shows the missing-file message and
// gives no macros. "macroNum" is bounded to 0..12; records beyond the count keep their contents.
// The store's file path is not changed.
void LoadMacroFile(ProfilePort& profile, MessagePort& messages, MacroStore& store, const std::u16string& path);

// Writes keys 0..count-1, then "macroNum", whole or not at all; keys of a larger earlier count
// stay. False, with the file as it was, when a write failed. Saved to the store's own file, the
// macros count as saved.
bool SaveMacroFile(ProfilePort& profile, MacroStore& store, const std::u16string& path);

// Where macros not saved at an unplug are kept until the next start offers them back.
inline std::u16string UnsavedMacrosCopyOf(const std::u16string& macroFile) { return macroFile + u".unsaved"; }

// The macro file of the language in the program directory becomes paths.MacroFilePath and the
// store's file path.
void SelectMacroFile(MacroStore& store, AppPaths& paths, LanguageMode language);

// The language's macro file becomes paths.MacroFilePath and the store's file, and is loaded (a
// missing one is reported): at start-up and at a language switch.
void LoadLanguageMacros(ProfilePort& profile, MessagePort& messages, MacroStore& store, AppPaths& paths,
                        LanguageMode language);

// skinsDir + "\INI_EN\defMacro.dat" or "\INI_CN\defMacro.dat".
std::u16string DefaultMacroFilePath(const std::u16string& skinsDir, LanguageMode language);

// The factory reset of the macros: loads the language's default macros and saves them as the
// language's macro file. When the default file is missing, the message is shown and neither the
// store nor the user's macro file is touched (an empty set would otherwise replace them).
// Returns true when the macros in memory were reset; a macro file that could not be written is
// told (MacroSaveFailedMessage) and still counts as reset.
bool ResetMacrosToDefaults(ProfilePort& profile, MessagePort& messages, MacroStore& store,
                           const std::u16string& programDir, const std::u16string& skinsDir,
                           LanguageMode language);
