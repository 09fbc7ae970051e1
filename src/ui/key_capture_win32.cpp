#include "ui/key_capture_win32.h"

bool KeyCaptureWin32::Install() {
    if (hook_.Installed()) return true;
    return hook_.Install([this](UINT message, const KBDLLHOOKSTRUCT& key) {
        // Without a window the key is still taken: a recording never lets it through.
        if (mainWindow_) PostMessageW(mainWindow_, message, key.vkCode, 0);
        return true;
    });
}
