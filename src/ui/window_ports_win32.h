// The system services the main window works through. The composition root owns them and hands
// them to the window once; the window makes itself the owner of the boxes and dialogs they show.
#pragma once

#include "platform/file_dialog_win32.h"
#include "platform/input_injector_port.h"
#include "platform/message_box_win32.h"
#include "platform/profile_port.h"
#include "ui/key_capture_win32.h"

struct WindowPorts {
    ProfilePort& profile;  // config.ini, the macro files, the skin descriptions
    MessageBoxPort& messages;
    Win32FileDialogs& files;
    KeyCaptureWin32& keys;        // the recording's keyboard
    InputInjectorPort& injector;  // keys the program lets go of when it ends
};
