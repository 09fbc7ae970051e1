// The system's open and save dialogs behind the file dialog port.
#pragma once

#include <windows.h>

#include "platform/file_dialog_port.h"

class Win32FileDialogs : public FileDialogPort {
public:
    // owner: the window the dialogs are modal to (may be null).
    explicit Win32FileDialogs(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    std::optional<std::u16string> PickFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::u16string> PickFileToSave(const FileDialogRequest& request) override;

private:
    HWND owner_;
};
