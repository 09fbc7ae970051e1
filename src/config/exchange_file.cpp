#include "config/exchange_file.h"

#include "config/config_file.h"

bool ExportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file) {
    return ConfigFile(profile, program.config).SaveConfig(file, kExchangeSlot);
}

void ImportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file) {
    ConfigFile(profile, program.config)
        .LoadConfig(file, kExchangeSlot, false, program.language.load());
}
