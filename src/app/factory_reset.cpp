#include "app/factory_reset.h"

#include "config/config_file.h"

bool FactoryReset(FactoryResetContext& context) {
    ProgramState& program = context.services.program;
    if (!ConfigFile(context.profile, program.config)
             .FactoryReset(program.paths.ConfigIniPath, program.CurConfig, program.language)) {
        program.configSaveFailed.store(true);  // told by the window once the reset is over
    }
    const bool macrosReset = ResetMacrosToDefaults(context.profile, context.messages, context.services.macros,
                                                   program.paths.ProgramDir, program.paths.SkinsDir,
                                                   program.language);
    // Nothing changed in the macros, so a list that shows them stays as it is.
    if (macrosReset && context.macrosReset) context.macrosReset();
    if (context.apply) context.apply();
    return macrosReset;
}
