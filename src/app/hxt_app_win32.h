// The application object: one running copy per session, whose life is the main window's. It is
// the composition root: it owns the program's services and the Windows ports they work through.
#pragma once

#include <memory>

#include "app/command_line.h"
#include "app/program_services.h"
#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"

class DeviceSession;

// What the test build adds to the program, chosen by its entry point alone (main_win32.cpp
// compiled with HXT_TEST_HOOKS): the shipped program passes none, so none of it is linked in.
struct TestHooks {
    // The session of --virtual-mouse=PORT; null: the program knows no such option.
    std::unique_ptr<DeviceSession> (*virtualMouse)(const CommandLineOptions&) = nullptr;
    // HXT_FIRST_PAINT_LOG and HXT_RECORD_LOG name the measurement logs' files.
    bool measurementLogs = false;
};

class CHXT_GMouseApp : public Application {
public:
    explicit CHXT_GMouseApp(TestHooks hooks) : hooks_(hooks) {}

protected:
    bool InitInstance() override;
    // For a script that starts the program: 2 when the command line or the virtual mouse it
    // asks for could not be used; 1 when the command of the command line was not carried out
    // (by this copy or the one that runs); 0 otherwise.
    int ExitInstance() override { return status_; }

private:
    TestHooks hooks_;
    int status_ = 0;
    OwnedHandle instanceMutex_;  // held for the whole process: it marks the running copy
    ProgramServices services_;
};

// The folder of the running exe.
std::u16string ProgramDirOfModule();

// What the user reads when the program ends because a window's handler failed (what: that
// failure), before the process goes; a CrashFilter's Tell.
void TellProgramFailure(const std::wstring& what) noexcept;
