#include "app/startup.h"

#include "config/config_file.h"

ProgramState& Program() {
    static ProgramState state;
    return state;
}

void LoadStartupConfiguration(ProfilePort& profile, ProgramState& state) {
    ConfigFile file(profile, state.config, state.configLock);
    state.paths.ConfigIniPath = ConfigIniPathOf(state.paths.ProgramDir);
    const auto cur = file.ReadCurConfig(state.paths.ConfigIniPath);
    state.CurrentSection = u"Config" + cur.text;
    state.CurConfig = cur.value;
    state.language = LanguageFromVerSel(file.ReadLanguage(state.paths.ConfigIniPath));
    file.LoadConfig(state.paths.ConfigIniPath, state.CurConfig, false, state.language);
}
