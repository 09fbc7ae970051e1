// Start-up of the process: the single-copy check, the program's parts and the main window's
// modal run.
#include "app/hxt_app_win32.h"

#include <commctrl.h>

#include "app/device_session_win32.h"
#include "app/host_runtime_win32.h"
#include "app/main_dialog_win32.h"
#include "platform/clock_win32.h"
#include "platform/crash_filter_win32.h"
#include "platform/input_injector_win32.h"
#include "platform/profile_win32.h"
#include "platform/shell_win32.h"
#include "platform/system_settings_win32.h"

std::u16string ProgramDirOfModule() {
    wchar_t path[260] = {};
    GetModuleFileNameW(nullptr, path, 260);
    return ProgramDirFromModulePath(FromWide(path));
}

bool CHXT_GMouseApp::InitInstance() {
    services_.program.paths.ProgramDir = ProgramDirOfModule();
    const std::wstring mutexName = ToWide(kInstanceMutexName);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    const DWORD opened = GetLastError();  // before anything else can change it
    instanceMutex_.reset(mutex);
    if (opened == ERROR_ALREADY_EXISTS) {
        // Another copy runs: bring its window back and leave. The language is not read yet,
        // so this looks for the title of the initial language.
        const std::wstring title = ToWide(WindowTitle(services_.program.language));
        if (HWND running = FindWindowW(nullptr, title.c_str())) ShowWindow(running, SW_RESTORE);
        instanceMutex_.reset();
        return false;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);

    // The real mouse, or the virtual one the command line asks for; nothing on a bad command line.
    const std::unique_ptr<DeviceSession> session = CreateDeviceSession();
    if (!session) {
        startFailed_ = true;
        return false;
    }
    Win32Profile profile;
    Win32SystemSettings settings;
    SendInputInjector injector;
    Win32Shell shell;
    PreciseSleeper clock;
    HostRuntime runtime(services_, HostPorts{profile, settings, injector, shell, clock});
    // A crash hands the mouse back to its own functions, as a close does.
    const CrashFilter crashFilter(&HostRuntime::PrepareCloseAfterCrash, &runtime);
    ProgramMouse mouse{*session, runtime};
    CHXT_GMouseDlg dialog(services_, &mouse);
    dialog.DoModal();
    session->Stop();
    runtime.Stop();
    return false;
}
