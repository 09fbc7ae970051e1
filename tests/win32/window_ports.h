// The main window's ports as the program builds them, for tests and benchmarks that build the
// window.
#pragma once

#include "app/device_session_win32.h"
#include "platform/input_injector_win32.h"
#include "platform/profile_win32.h"
#include "ui/window_ports_win32.h"

struct OwnWindowPorts {
    Win32Profile profile;
    MessageBoxPort messages{ApplicationName()};
    Win32FileDialogs files;
    KeyCaptureWin32 keys;
    SendInputInjector injector;
    WindowPorts Ports() { return {profile, messages, files, keys, injector}; }
};
