#include "app/factory_reset.h"

#include <mutex>

#include "config/config_file.h"

bool FactoryReset(FactoryResetContext& context) {
    ProgramState& program = context.services.program;
    {
        std::lock_guard<std::recursive_mutex> hold(program.configLock);
        if (!ConfigFile(context.profile, program.config, program.configLock)
                 .FactoryReset(program.paths.ConfigIniPath, program.CurConfig, program.language)) {
            program.configSaveFailed.store(true);  // told by the window once the lock is free
        }
    }
    const bool macrosReset = ResetMacrosToDefaults(context.profile, context.messages, context.services.macros,
                                                   program.paths.ProgramDir, program.paths.SkinsDir,
                                                   program.language);
    // Nothing changed in the macros, so a list that shows them stays as it is.
    if (macrosReset && context.macrosReset) context.macrosReset();
    if (context.apply) context.apply();
    return macrosReset;
}
