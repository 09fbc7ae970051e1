// What every part of the program shares: its state, the press hand-off between the mouse's
// threads, the link to the mouse with its feature report sender, and the macros. The application
// builds one and hands it down by reference; a test builds its own.
#pragma once

#include "config/program_state.h"
#include "core/press_handoff.h"
#include "device/discovery.h"
#include "device/feature_report.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_store.h"

struct ProgramServices {
    ProgramState program;
    PressHandoff handoff;
    DeviceLink link;
    FeatureReportSender reports{link};
    MacroStore macros;
    MacroEditorState macroEditor;
};
