// The tray icon's tooltip: which slot runs, at which DPI stage, and for which program when a
// program profile runs it, so a look at the icon answers "what does the mouse do now".
#pragma once

#include <string>

#include "config/program_state.h"

std::u16string TrayTipText(const ProgramState& program);
