// Exchange files: one configuration in section "Config7" of an INI file the user picks, to take
// a configuration to another machine or keep it aside.
#pragma once

#include <string>

#include "config/program_state.h"
#include "platform/profile_port.h"

// The configuration of the window becomes the file's "Config7"; its other sections stay. False
// when any value could not be written.
bool ExportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file);

// The file's "Config7" replaces the configuration of the window (not config.ini, not the mouse:
// those follow at the next apply). False, with nothing changed, when the file holds no
// configuration there: the window's would otherwise become the built-in one.
bool ImportConfig(ProfilePort& profile, ProgramState& program, const std::u16string& file);
