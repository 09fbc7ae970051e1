#include "ui/key_capture_win32.h"

bool KeyCaptureWin32::Install() {
    if (hook_.Installed()) return true;
    return hook_.Install([this](UINT message, const KBDLLHOOKSTRUCT& key) {
        // Without a window the key is still taken: a recording never lets it through.
        if (const HWND window = mainWindow_ ? mainWindow_() : nullptr) PostMessageW(window, message, key.vkCode, 0);
        return true;
    });
}
