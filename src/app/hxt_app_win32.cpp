// Start-up of the process: the single-copy check, the program's parts and the main window's
// modal run.
#include "app/hxt_app_win32.h"

#include "app/device_session_win32.h"
#include "app/start_command_win32.h"
#include "app/host_runtime_win32.h"
#include "app/logon_task.h"
#include "app/main_dialog_win32.h"
#include "platform/clock_win32.h"
#include "platform/crash_filter_win32.h"
#include "platform/exit_watchdog_win32.h"
#include "platform/file_dialog_win32.h"
#include "platform/growing_buffer_win32.h"
#include "platform/input_injector_win32.h"
#include "platform/message_box_win32.h"
#include "platform/profile_win32.h"
#include "platform/shell_win32.h"
#include "platform/startup_task_win32.h"
#include "platform/system_settings_win32.h"
#include "ui/key_capture_win32.h"

namespace {
// Time enough for the workers to stop and the process to end on a loaded machine.
constexpr DWORD kEndDeadlineMs = 10000;
}  // namespace

std::u16string ProgramDirOfModule() {
    return ProgramDirFromModulePath(FromWide(ModuleFileName()));
}

void TellProgramFailure(const std::wstring& what) noexcept {
    MessageBoxPort(ApplicationName(), nullptr, MB_OK | MB_ICONERROR)
        .Show(what + L"\n\nThe program ends; the mouse is back on its own functions.");
}

bool CHXT_GMouseApp::InitInstance() {
    AppPaths& paths = services_.program.paths;
    paths.ProgramDir = ProgramDirOfModule();
    if (hooks_.measurementLogs) {
        paths.FirstPaintLog = FromWide(EnvironmentVariable(L"HXT_FIRST_PAINT_LOG"));
        paths.RecordLog = FromWide(EnvironmentVariable(L"HXT_RECORD_LOG"));
    }
    // A bad command line never reaches the running copy, nor starts a new one.
    const VirtualMouseOptions virtualMouse =
        hooks_.virtualMouse ? VirtualMouseOptions::Accepted : VirtualMouseOptions::Unknown;
    const ParsedCommandLine parsed = ParseCommandLine(CommandLineArguments(), virtualMouse);
    if (!parsed.ok() || parsed.help) {
        status_ = TellUsage(parsed, virtualMouse);
        return false;
    }
    if (parsed.version) {
        TellStarter(ToWide(VersionLine()), false);
        return false;
    }
    if (parsed.startWithWindows) {
        // The setup's choice; no copy needs to run for it.
        Win32StartupTask task(kLogonTaskName);
        const bool changed = StartWithWindows(task, FromWide(ModuleFileName())).Set(*parsed.startWithWindows);
        if (!changed) TellStarter(L"The task scheduler did not accept the change of the start with Windows.", true);
        status_ = changed ? 0 : 1;
        return false;
    }
    std::optional<ProgramCommand> command = parsed.options.command;
    if (command) command = WithFullPath(*command);

    const std::wstring mutexName = ToWide(kInstanceMutexName);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    const DWORD opened = GetLastError();  // before anything else can change it
    instanceMutex_.reset(mutex);
    if (parsed.quit) {
        // Never starts a copy of its own.
        instanceMutex_.reset();
        status_ = QuitRunningCopy(opened == ERROR_ALREADY_EXISTS);
        return false;
    }
    if (opened == ERROR_ALREADY_EXISTS) {
        // Another copy runs: it carries the command out, or shows its window, and this start leaves.
        instanceMutex_.reset();
        // A start in the tray (at log-on) leaves a running copy as it is.
        status_ = parsed.tray && !command ? 0 : CommandRunningCopy(command);
        return false;
    }
    if (command) {
        // The resident copy is another process, which this start hands the command to.
        instanceMutex_.reset();
        status_ = CommandNewCopy(parsed.options, *command);
        return false;
    }

    // The real mouse, or the virtual one the command line asks for (only the test build parses it).
    const std::unique_ptr<DeviceSession> session = parsed.options.virtualMousePort
                                                       ? hooks_.virtualMouse(parsed.options)
                                                       : std::make_unique<DeviceSession>();
    if (!session) {
        status_ = 2;
        return false;
    }
    // Every port, once; the parts get them from here.
    Win32Profile profile;
    Win32SystemSettings settings;
    SendInputInjector injector;
    Win32Shell shell;
    PreciseSleeper clock;
    MessageBoxPort messages(ApplicationName());
    Win32FileDialogs files;
    KeyCaptureWin32 keys;
    Win32StartupTask startupTask(kLogonTaskName);
    HostRuntime runtime(services_, HostPorts{profile, settings, injector, shell, clock});
    // A crash, or a window's handler that fails, hands the mouse back to its own functions, as
    // a close does.
    const CrashFilter crashFilter(&HostRuntime::PrepareCloseAfterCrash, &runtime, &TellProgramFailure);
    ProgramMouse mouse{*session, runtime};
    CHXT_GMouseDlg dialog(services_, WindowPorts{profile, messages, files, keys, injector}, &mouse);
    if (parsed.tray) dialog.StartInTray();
    dialog.OfferStartWithWindows(startupTask);
    dialog.DoModal();
    // The window is gone, the mouse has its exit command and everything is saved. Rarely, under
    // Wine, the process has been seen to stay after that with its window gone; whatever holds it,
    // it ends within seconds.
    EndProcessAfter(kEndDeadlineMs, 0);
    session->Stop();
    runtime.Stop();
    return false;
}
