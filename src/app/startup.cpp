#include "app/startup.h"

#include "config/config_file.h"
#include "core/user_texts.h"
#include "platform/file_path.h"
#include "macros/macro_editor_state.h"

namespace {
bool Unreadable(ProfilePort& profile, ConfigFile& file, const std::u16string& ini) {
    const std::optional<std::uintmax_t> size = FileSize(ini);
    if (!size) return false;  // no file: the built-in configuration, saved at the first apply
    if (*size > kMaxConfigIniBytes) return true;
    for (const char16_t* key : {u"CurConfig", u"VER_SEL"}) {
        if (!profile.ReadString(ini, u"Init", key, 8).empty()) return false;
    }
    for (int slot = 1; slot <= kUserSlotCount; ++slot) {
        if (file.HoldsConfig(ini, slot)) return false;
    }
    return true;
}
}  // namespace

std::optional<std::u16string> LoadStartupConfiguration(ProfilePort& profile, ProgramState& state) {
    ConfigFile file(profile, state.config);
    state.paths.ConfigIniPath = ConfigIniPathOf(state.paths.ProgramDir);
    const std::u16string& ini = state.paths.ConfigIniPath;
    if (Unreadable(profile, file, ini)) {
        // Moved aside, it is never saved over. Where it cannot be moved, the user is told so (an
        // empty name): the program's saves would then replace it.
        const std::u16string keptAs = MoveAside(ini, u".unreadable").value_or(u"");
        state.CurrentSection = SlotSection(1, false, LanguageMode::Chinese);
        state.CurConfig = 1;
        SetBuiltInDefaults(state.config);
        state.Publish();
        return keptAs;
    }
    const auto cur = file.ReadCurConfig(ini);
    state.CurrentSection = SlotSection(cur.value, false, LanguageMode::Chinese);
    state.CurConfig = cur.value;
    state.language = LanguageFromVerSel(file.ReadLanguage(ini));
    state.indicatorOn = file.ReadInitFlag(ini, kIndicatorKey, true);
    state.trayNoticeShown = file.ReadInitFlag(ini, kTrayNoticeKey, false);
    file.LoadConfig(ini, state.CurConfig, false, state.language);
    state.Publish();
    return std::nullopt;
}

void LoadStartupMacros(ProfilePort& profile, MessagePort& messages, ProgramServices& services) {
    ProgramState& program = services.program;
    LoadLanguageMacros(profile, messages, services.macros, program.paths, program.language);
    // Macros left unsaved when the mouse was unplugged; restored, they are still to be saved.
    const std::u16string unsaved = UnsavedMacrosCopyOf(program.paths.MacroFilePath);
    if (PathExists(unsaved)) {
        if (messages.Ask(RestoreMacrosQuestion(program.language), false) == Answer::Yes) {
            LoadMacroFile(profile, messages, services.macros, unsaved);
        }
        RemoveFile(unsaved);
    }
    services.macroEditor.selectedLine =
        services.macros.Read([](const MacroStoreData& macros) { return LastEventLine(macros); });
}

bool RunWindowStartup(StartupSteps& steps) {
    steps.LoadConfiguration();
    steps.SetTitle();
    steps.CreateFonts();
    if (!steps.LoadSkin()) {
        steps.AbandonStartup();
        return false;
    }
    steps.ShapeWindow();
    if (steps.HasMouse()) steps.LoadMacros();  // the function boxes show macro names
    steps.LoadMenus();
    if (steps.HasMouse() && !steps.FindMouse()) {
        steps.ShowPlugInMessage();
        steps.CloseProgram();
        steps.WaitBeforeFirstApply();
        steps.Apply();
        return false;
    }
    return true;
}

void RunStartupAfterFirstPaint(StartupSteps& steps) {
    if (!steps.HasMouse()) return;
    steps.StartWorkers();
    steps.WaitBeforeFirstApply();
    steps.Apply();
}
