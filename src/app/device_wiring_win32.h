// The main window's mouse: the HID port the program talks through (the Windows backend, or a
// virtual mouse served on a local port), the worker threads that serve the mouse, and the
// mouse's part of start-up, of closing, of device-change and power messages and of the
// factory reset. The window calls these; everything else of the device link is portable.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "actions/host_action_executor.h"
#include "actions/host_action_links.h"
#include "actions/host_actions.h"
#include "ui/animators.h"
#include "device/apply_configuration.h"
#include "device/hid_backend_win32.h"
#include "device/input_listener.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_server_win32.h"
#include "platform/clock_win32.h"
#include "platform/input_injector_win32.h"
#include "platform/profile_win32.h"
#include "platform/shell_win32.h"
#include "platform/system_settings_win32.h"

// The pointer speed Windows is given back when the program closes.
constexpr int kClosingPointerSpeed = 10;

// A device interface named by a WM_DEVICECHANGE broadcast.
struct BroadcastInterface {
    std::uint32_t deviceType = 0;
    GUID classGuid{};
    std::u16string name;
};

// The interface a broadcast header describes: nothing for a null header, another kind of
// device, or a record too short for its fields. The name never reads past the record's size.
std::optional<BroadcastInterface> BroadcastInterfaceOf(LPARAM header);

enum class DeviceChangeOutcome {
    Nothing,
    Rediscovered,   // a HID interface arrived while the mouse was missing; discovery ran again
    MouseRemoved,   // the mouse left: the window ends the program, without the close steps
};

// The running program's name (the exe's file name without extension), the caption of its
// message boxes.
std::wstring ApplicationName();

class MainWindowDevice {
public:
    // The real mouse, through the Windows HID backend.
    MainWindowDevice();
    // A mouse in memory as the HID port.
    explicit MainWindowDevice(std::shared_ptr<VirtualMouse> mouse);
    // With other system settings than Windows' own (tests: Wine loses the pointer speed).
    MainWindowDevice(std::shared_ptr<VirtualMouse> mouse, SystemSettingsPort& settings);
    ~MainWindowDevice();
    MainWindowDevice(const MainWindowDevice&) = delete;
    MainWindowDevice& operator=(const MainWindowDevice&) = delete;

    // Virtual mouse only: serve its line protocol on 127.0.0.1:port (0: any free port); append
    // every feature report it receives to the file. False when that cannot be done (openError:
    // why the file did not open).
    bool ServeVirtualMouse(std::uint16_t port);
    bool LogFeatureReports(const std::wstring& path, DWORD* openError = nullptr);
    VirtualMouseServer* Server() { return server_.get(); }
    std::wstring LastError() const;

    // Start-up, in the main window's order. First: the hand-off flags are cleared, the input
    // listener and host action executor start at the highest priority and a BlinkIndicator at
    // normal priority; device notifications will go to mainWindow.
    void StartWorkers(HWND mainWindow);
    // The language's macro file becomes MacroFilePath and is loaded; a missing file is reported.
    void LoadMacros();
    // Finds the mouse. Without it, shows the plug-in message and has the program closed. Then,
    // either way, waits 5 ms and applies the configuration (which still sets Windows and saves).
    void FindMouseAndApply(const std::function<void()>& closeProgram);

    bool Discover();
    void ShowPlugInMessage();
    // ApplyConfiguration with the program's ports: the apply control, power events, resets.
    void Apply();
    // Starts a BlinkIndicator (ending one that runs) and sets BlinkRunning.
    void StartBlinkIndicator();

    // CloseProgram's part: the exit command to the mouse (when its interface is open) and the
    // Windows pointer speed back to 10.
    void PrepareClose();
    // WM_DEVICECHANGE: an arrival while the mouse is missing rediscovers it; the mouse's removal
    // clears DevicePresent.
    DeviceChangeOutcome OnDeviceChange(WPARAM event, LPARAM header);
    // Slots 1 to 5 from the factory values, the macros from the language's defaults (then
    // macrosReset, for a macro list that is showing), and the apply. False when a slot could not
    // be written or the macros could not be reset.
    bool FactoryReset(const std::function<void()>& macrosReset = {});

    // Ends the server and the worker threads; a playing macro is asked to stop. Nothing of the
    // device runs afterwards.
    void Stop();

    HidPort& Port();

private:
    void Invalidate();

    std::shared_ptr<VirtualMouse> virtual_;
    std::unique_ptr<Win32HidPort> hid_;
    std::unique_ptr<VirtualMouseServer> server_;
    std::shared_ptr<LineLog> log_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> stopped_{false};

    Win32Profile profile_;
    Win32SystemSettings systemSettings_;
    SystemSettingsPort& settings_;
    SendInputInjector injector_;
    Win32Shell shell_;
    PreciseSleeper clock_;  // the executor's alone
    ApplyContext apply_;
    ProgramHostActionLinks links_;
    HostActions actions_;
    InputListener listener_;
    HostActionExecutor executor_;
    BellClock blinkClock_;
    AnimatorContext blinkContext_;
    std::mutex blinkMutex_;  // the window's thread and the executor's (a switch) both start it
    AnimatorThread blink_;
};

// The program's device as its command line asks: the real mouse, or a virtual mouse on a port.
// Nothing (after telling the user why) when the command line is wrong or the port is taken.
std::unique_ptr<MainWindowDevice> CreateProgramDevice();
