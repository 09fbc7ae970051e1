#include "core/app_paths.h"

std::u16string ProgramDirFromModulePath(const std::u16string& modulePath) {
    const auto slash = modulePath.rfind(u'\\');
    if (slash == std::u16string::npos) return {};
    return modulePath.substr(0, slash);
}

std::u16string ConfigIniPathOf(const std::u16string& programDir) { return programDir + u"\\config.ini"; }
std::u16string AppsIniPathOf(const std::u16string& programDir) { return programDir + u"\\apps.ini"; }
std::u16string SkinsDirOf(const std::u16string& programDir) { return programDir + u"\\skins"; }
std::u16string MaskImagePathOf(const std::u16string& skinsDir) { return skinsDir + u"\\main_mask.jpg"; }

std::u16string MacroFilePathOf(const std::u16string& programDir, LanguageMode language) {
    return programDir + (language == LanguageMode::English ? u"\\Macro_EN.dat" : u"\\Macro_CN.dat");
}

std::u16string WindowTitle(LanguageMode language) {
    return language == LanguageMode::English ? u"K-R7T GAMING MOUSE" : u"KestrixK-R7T游戏鼠标";
}

std::u16string PlugInMessage(LanguageMode language) {
    return language == LanguageMode::English ? u"Please plug-in【KestrixK-R7T】USB Mouse"
                                             : u"请插入【KestrixK-R7T】USB鼠标";
}
