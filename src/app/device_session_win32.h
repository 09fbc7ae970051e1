// The mouse the program talks to: the real one through the Windows HID backend, or a virtual
// mouse in memory (the test build's, see app/virtual_mouse_session_win32.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "device/device_change.h"
#include "device/discovery.h"
#include "device/hid_backend_win32.h"
#include "device/virtual_mouse.h"

// The running program's name (the exe's file name without extension), the caption of its
// message boxes.
std::wstring ApplicationName();

class DeviceSession {
public:
    // The real mouse, through the Windows HID backend.
    DeviceSession();
    // A mouse in memory as the HID port.
    explicit DeviceSession(std::shared_ptr<VirtualMouse> mouse);
    virtual ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Device notifications go to window from now on; a virtual mouse's plug and unplug reach it
    // as WM_DEVICECHANGE, as from Windows.
    void NotifyWindow(HWND window);
    // Looks for the mouse and installs what it finds into link.
    bool Discover(DeviceLink& link);
    // WM_DEVICECHANGE: an arrival while the mouse is missing looks for it again; the mouse's
    // removal clears DevicePresent (and the window then ends the program).
    DeviceChangeOutcome OnDeviceChange(DeviceLink& link, WPARAM event, LPARAM header);

    // Nothing reaches the window afterwards.
    virtual void Stop();

    HidPort& Port();

protected:
    VirtualMouse* Virtual() { return virtual_.get(); }

private:
    std::shared_ptr<VirtualMouse> virtual_;
    std::unique_ptr<Win32HidPort> hid_;
};
