#include "app/startup.h"

#include "config/config_file.h"
#include "macros/macro_editor_state.h"

void LoadStartupConfiguration(ProfilePort& profile, ProgramState& state) {
    ConfigFile file(profile, state.config);
    state.paths.ConfigIniPath = ConfigIniPathOf(state.paths.ProgramDir);
    const auto cur = file.ReadCurConfig(state.paths.ConfigIniPath);
    state.CurrentSection = SlotSection(cur.value, false, LanguageMode::Chinese);
    state.CurConfig = cur.value;
    state.language = LanguageFromVerSel(file.ReadLanguage(state.paths.ConfigIniPath));
    file.LoadConfig(state.paths.ConfigIniPath, state.CurConfig, false, state.language);
    state.Publish();
}

void LoadStartupMacros(ProfilePort& profile, MessagePort& messages, ProgramServices& services) {
    ProgramState& program = services.program;
    LoadLanguageMacros(profile, messages, services.macros, program.paths, program.language);
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
    steps.InitCommonControls();
    if (!steps.HasMouse()) return;
    steps.StartWorkers();
    steps.WaitBeforeFirstApply();
    steps.Apply();
}
