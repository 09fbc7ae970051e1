// Texts the user sees that more than one part of the program shows, defined once.
#pragma once

// A file the program reads at start-up or on a reset is missing (macros, exchange files).
inline constexpr char16_t kMissingFileMessage[] = u"找不到配置文件";

// In front of a key press and a key release: the macro editor's event lines and counters.
inline constexpr char16_t kPressMark[] = u"[↓]";
inline constexpr char16_t kReleaseMark[] = u"[↑]";

#include <string>
#include <string_view>

#include "core/language.h"

// A macro file could not be written completely; the macros in memory are unchanged.
inline std::u16string_view MacroSaveFailedMessage(LanguageMode language) {
    return language == LanguageMode::English ? u"The macro file could not be saved." : u"无法保存宏文件。";
}

// An exchange file could not be written completely.
inline std::u16string_view ExportFailedMessage(LanguageMode language) {
    return language == LanguageMode::English ? u"The configuration could not be saved to this file."
                                             : u"无法将配置保存到此文件。";
}

// A file to import holds no configuration (no "Config7" values, or no readable file at all);
// nothing was changed.
inline std::u16string ImportRefusedMessage(LanguageMode language, std::u16string_view path) {
    const std::u16string_view lead = language == LanguageMode::English
                                         ? u"This file holds no configuration to import; nothing was changed.\n"
                                         : u"此文件中没有可导入的配置，未做任何更改。\n";
    return std::u16string(lead) + std::u16string(path);
}

// config.ini could not be read and the program starts from the built-in configuration. Its
// language is unknown then, so both are said. keptAs: where it was kept; empty when it could not be.
inline std::u16string UnreadableConfigMessage(std::u16string_view keptAs) {
    if (keptAs.empty()) {
        return u"config.ini could not be read, nor kept aside. The program starts from the factory configuration.\n\n"
               u"无法读取 config.ini，也无法另存。程序将使用出厂配置启动。";
    }
    const std::u16string path(keptAs);
    return u"config.ini could not be read. It was kept as:\n" + path +
           u"\nThe program starts from the factory configuration.\n\n无法读取 config.ini，已另存为：\n" + path +
           u"\n程序将使用出厂配置启动。";
}

// Asked before the program ends or its language changes while macros are not saved.
inline std::u16string_view SaveMacrosQuestion(LanguageMode language) {
    return language == LanguageMode::English ? u"The macros were changed and not saved. Save them now?"
                                             : u"宏已更改但尚未保存。现在保存吗？";
}

// Asked at start-up when the last run ended with the mouse unplugged and macros not saved.
inline std::u16string_view RestoreMacrosQuestion(LanguageMode language) {
    return language == LanguageMode::English
               ? u"Macros that were not saved when the program last ended were kept. Restore them?"
               : u"程序上次结束时未保存的宏已被保留。要恢复它们吗？";
}

// Asked before the factory reset, which cannot be undone.
inline std::u16string_view FactoryResetQuestion(LanguageMode language) {
    return language == LanguageMode::English
               ? u"Reset all five configurations and the macros to the factory settings? This cannot be undone."
               : u"将全部五个配置和宏恢复为出厂设置吗？此操作无法撤销。";
}

// A file of the skin that the window cannot do without is missing; the program does not start.
inline std::u16string MissingSkinFileMessage(LanguageMode language, std::u16string_view path) {
    const std::u16string_view lead = language == LanguageMode::English
                                         ? u"The program cannot start: a file of its window is missing.\n"
                                         : u"程序无法启动：缺少窗口所需的文件。\n";
    return std::u16string(lead) + std::u16string(path);
}

// config.ini could not be written completely (read-only or gone); the window keeps the
// configuration it shows.
inline std::u16string_view ConfigSaveFailedMessage(LanguageMode language) {
    return language == LanguageMode::English ? u"The configuration could not be saved to config.ini."
                                             : u"无法将配置保存到 config.ini。";
}

// The balloon of the first hide into the tray: the program has not ended.
inline std::u16string_view TrayNoticeMessage(LanguageMode language) {
    return language == LanguageMode::English
               ? u"The program keeps serving the mouse from the tray. Double-click its icon to show the window."
               : u"程序在托盘中继续为鼠标服务。双击图标可显示窗口。";
}

// apps.ini could not be written completely, or holds something else and was left alone.
inline std::u16string_view AppsSaveFailedMessage(LanguageMode language) {
    return language == LanguageMode::English ? u"The program profiles could not be saved to apps.ini."
                                             : u"无法将程序配置保存到 apps.ini。";
}
