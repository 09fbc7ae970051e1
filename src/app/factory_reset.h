// The factory reset the user asks for: the five slots from the factory values, the macros from
// the language's defaults, then the apply.
#pragma once

#include <functional>

#include "app/program_services.h"
#include "macros/macro_file.h"
#include "platform/profile_port.h"

struct FactoryResetContext {
    ProgramServices& services;
    ProfilePort& profile;
    MessagePort& messages;
    std::function<void()> macrosReset;  // refills a macro list that is showing
    std::function<void()> apply;
};

// Returns whether the macros were reset too; without the default macro file the user's macros
// stay (and the message says why), while the slots are reset and applied all the same.
bool FactoryReset(FactoryResetContext& context);
