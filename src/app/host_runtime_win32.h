// The threads that serve the mouse while the program runs: the input listener and the host action
// executor with the host actions it performs; and, on the window's thread, the apply and the
// configuration changes the executor asks for.
#pragma once

#include <windows.h>

#include <atomic>

#include "actions/host_action_executor.h"
#include "actions/host_actions.h"
#include "app/apply_configuration.h"
#include "app/program_profiles.h"
#include "app/program_services.h"
#include "device/input_listener.h"
#include "platform/clock_port.h"
#include "platform/input_injector_port.h"
#include "platform/profile_port.h"
#include "platform/shell_port.h"
#include "platform/system_settings_port.h"

// Posted to the main window when a save of config.ini failed outside the window's own changes
// (the start-up's apply, a power event), so that the user is told after the apply.
inline constexpr UINT kSaveFailedMessage = WM_APP + 0x850;
// Posted to the main window when an apply puts host actions on hold: the start key blinks.
inline constexpr UINT kStartBlinkMessage = WM_APP + 0x851;
// Posted to the main window by the executor: a configuration change a button asks for
// (wParam the HostRequestKind, lParam the DPI direction).
inline constexpr UINT kHostRequestMessage = WM_APP + 0x852;

// The pointer speed Windows is given back when the program closes.
constexpr int kClosingPointerSpeed = 10;

// The system services the host side works through; the composition root owns them.
struct HostPorts {
    ProfilePort& profile;
    SystemSettingsPort& settings;
    InputInjectorPort& injector;
    ShellPort& shell;
    ClockPort& clock;  // the executor's alone
};

// The request of a kHostRequestMessage; nothing for numbers no request has.
std::optional<HostRequest> HostRequestOf(WPARAM kind, LPARAM direction);

class HostRuntime : private HostRequestPort {
public:
    HostRuntime(ProgramServices& services, HostPorts ports);
    ~HostRuntime() override;
    HostRuntime(const HostRuntime&) = delete;
    HostRuntime& operator=(const HostRuntime&) = delete;

    // The hand-off is cleared, the input listener and host action executor start at the
    // highest priority, and the start key blinks if host actions wait; they repaint mainWindow
    // and post their requests to it.
    void StartWorkers(HWND mainWindow);
    // ApplyConfiguration with the program's ports: the apply control, power events, resets.
    void Apply();
    // What a kHostRequestMessage asks; on the window's thread.
    void CarryOut(HostRequest request);
    // A program profile's switch, made and applied like a slot switch; on the window's thread.
    void SwitchProfile(const ProfileSwitch& to);
    // CloseProgram's part: the exit command to the mouse (when its interface is open) and the
    // Windows pointer speed back to 10.
    void PrepareClose();
    // PrepareClose for a crashing program, as the last word of a CrashFilter (context: the
    // HostRuntime): the exit command without the sender's lock, and the pointer speed back
    // without broadcasting the change to windows, the crashed thread's among them.
    static void PrepareCloseAfterCrash(void* runtime) noexcept;
    // Ends the worker threads; a playing macro stops at once. Nothing runs afterwards.
    void Stop();

private:
    void Post(HostRequest request) override;
    void Invalidate();
    // Asks the window (from whichever thread applied) to blink the start key.
    void StartBlinkIndicator();

    ProgramServices& services_;
    HostPorts ports_;
    std::atomic<HWND> window_{nullptr};
    ApplyContext apply_;
    HostActions actions_;
    InputListener listener_;
    HostActionExecutor executor_;
};
