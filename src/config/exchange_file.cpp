#include "config/exchange_file.h"

#include "config/config_file.h"

bool ExportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file) {
    return ConfigFile(profile, program.config).SaveConfig(file, kExchangeSlot);
}

bool ImportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file) {
    ConfigFile exchange(profile, program.config);
    if (!exchange.HoldsConfig(file, kExchangeSlot)) return false;
    exchange.LoadConfig(file, kExchangeSlot, false, program.language.load());
    return true;
}
