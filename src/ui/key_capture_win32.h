// The recording's keyboard capture on Windows: a low-level keyboard hook that takes every key
// away from the desktop and posts it to the main window as the key message it was.
#pragma once

#include <windows.h>

#include "platform/keyboard_hook_win32.h"
#include "ui/macro_editor_controls.h"

class KeyCaptureWin32 : public KeyCapturePort {
public:
    // The window the keys go to, once it exists.
    void SetWindow(HWND mainWindow) { mainWindow_ = mainWindow; }

    // True when the hook is in place, also when it was already.
    bool Install() override;
    void Remove() override { hook_.Remove(); }
    bool Installed() const { return hook_.Installed(); }

private:
    HWND mainWindow_ = nullptr;
    KeyboardHook hook_;  // unhooks when this object goes
};
