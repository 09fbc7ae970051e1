// Start-up of the process: the single-copy check and the main window's modal run.
#include "app/hxt_app_win32.h"

#include <commctrl.h>

#include "app/device_wiring_win32.h"
#include "app/main_dialog_win32.h"
#include "app/startup.h"
#include "core/program_state.h"

void SetProgramDirFromModule() {
    wchar_t path[260] = {};
    GetModuleFileNameW(nullptr, path, 260);
    Program().paths.ProgramDir = ProgramDirFromModulePath(FromWide(path));
}

bool CHXT_GMouseApp::InitInstance() {
    const std::wstring mutexName = ToWide(kInstanceMutexName);
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    const DWORD created = GetLastError();  // before anything else can overwrite it
    instanceMutex_.reset(mutex);
    if (created == ERROR_ALREADY_EXISTS) {
        // Another copy runs: bring its window back and leave. The language is not read yet,
        // so this looks for the title of the initial language.
        const std::wstring title = ToWide(WindowTitle(Program().language));
        if (HWND running = FindWindowW(nullptr, title.c_str())) ShowWindow(running, SW_RESTORE);
        instanceMutex_.reset();
        return false;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);

    // The real mouse, or the virtual one the command line asks for; nothing on a bad command line.
    const std::unique_ptr<MainWindowDevice> device = CreateProgramDevice();
    if (!device) {
        startFailed_ = true;
        return false;
    }
    CHXT_GMouseDlg dialog(device.get());
    dialog.DoModal();
    device->Stop();
    return false;
}
