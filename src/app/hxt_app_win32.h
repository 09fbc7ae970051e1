// The application object: one running copy per session, whose life is the main window's.
#pragma once

#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"

class CHXT_GMouseApp : public Application {
protected:
    bool InitInstance() override;

private:
    OwnedHandle instanceMutex_;  // held for the whole process: it marks the running copy
};

// Sets Program().paths.ProgramDir to the folder of the running exe.
void SetProgramDirFromModule();
