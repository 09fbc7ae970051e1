// The mouse the program talks to: the real one through the Windows HID backend, or a virtual
// mouse in memory served on a local port (with a log of the feature reports it receives), as the
// command line asks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "device/device_change.h"
#include "device/discovery.h"
#include "device/hid_backend_win32.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_server_win32.h"

// The running program's name (the exe's file name without extension), the caption of its
// message boxes.
std::wstring ApplicationName();

class DeviceSession {
public:
    // The real mouse, through the Windows HID backend.
    DeviceSession();
    // A mouse in memory as the HID port.
    explicit DeviceSession(std::shared_ptr<VirtualMouse> mouse);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Virtual mouse only: serve its line protocol on 127.0.0.1:port (0: any free port); append
    // every feature report it receives to the file. False when that cannot be done.
    bool ServeVirtualMouse(std::uint16_t port);
    bool LogFeatureReports(const std::wstring& path);
    VirtualMouseServer* Server() { return server_.get(); }
    std::wstring LastError() const;

    // Device notifications go to window from now on; a virtual mouse's plug and unplug reach it
    // as WM_DEVICECHANGE, as from Windows.
    void NotifyWindow(HWND window);
    // Looks for the mouse and installs what it finds into link.
    bool Discover(DeviceLink& link);
    // WM_DEVICECHANGE: an arrival while the mouse is missing looks for it again; the mouse's
    // removal clears DevicePresent (and the window then ends the program).
    DeviceChangeOutcome OnDeviceChange(DeviceLink& link, WPARAM event, LPARAM header);

    // Ends the server; nothing reaches the window afterwards.
    void Stop();

    HidPort& Port();

private:
    std::shared_ptr<VirtualMouse> virtual_;
    std::unique_ptr<Win32HidPort> hid_;
    std::unique_ptr<VirtualMouseServer> server_;
    std::shared_ptr<LineLog> log_;
    std::wstring logError_;
};

// The session the command line asks for: the real mouse, or a virtual mouse on a port. Nothing
// (after telling the user why) when its log cannot be opened or the port is taken.
std::unique_ptr<DeviceSession> CreateDeviceSession(const CommandLineOptions& options);
