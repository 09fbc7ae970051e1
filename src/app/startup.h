// The configuration half of the main window's initialisation, portable so it can be tested:
// builds ConfigIniPath, reads CurConfig and the language, and loads the current slot.
#pragma once

#include "app/startup.h"
#include "core/program_state.h"
#include "platform/profile_port.h"

ProgramState& Program();

void LoadStartupConfiguration(ProfilePort& profile, ProgramState& state);
