// The program's paths (wide strings, Windows separators, no trailing backslash) and the texts
// that identify the running copy.
#pragma once

#include <string>

#include "core/language.h"

struct AppPaths {
    std::u16string ProgramDir;
    std::u16string ConfigIniPath;
    std::u16string SkinsDir;
    std::u16string MaskImagePath;
    std::u16string MacroFilePath;
    // The test build's measurement logs, appended to; empty (always, when shipped): none.
    std::u16string FirstPaintLog;
    std::u16string RecordLog;
};

// The executable's full path cut before its last backslash; empty without a backslash.
std::u16string ProgramDirFromModulePath(const std::u16string& modulePath);
std::u16string ConfigIniPathOf(const std::u16string& programDir);
// The program profiles, beside config.ini.
std::u16string AppsIniPathOf(const std::u16string& programDir);
std::u16string SkinsDirOf(const std::u16string& programDir);
std::u16string MaskImagePathOf(const std::u16string& skinsDir);
std::u16string MacroFilePathOf(const std::u16string& programDir, LanguageMode language);

// The main window's title, by which a second copy finds the first.
std::u16string WindowTitle(LanguageMode language);
// The message shown when the mouse is not plugged in.
std::u16string PlugInMessage(LanguageMode language);

inline constexpr char16_t kInstanceMutexName[] = u"CHXT_GMouseApp";
