// What every part of the program shares: its state, the threads' flags, the link to the mouse
// with its feature report sender, and the macros. The application builds one and hands it down
// by reference; a test builds its own.
#pragma once

#include "core/program_state.h"
#include "core/thread_flags.h"
#include "device/discovery.h"
#include "device/feature_report.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_store.h"

struct ProgramServices {
    ProgramState program;
    ThreadFlags flags;
    DeviceLink link;
    FeatureReportSender reports{link};
    MacroStore macros;
    MacroEditorState macroEditor;
};
