// Messages of the macro code shown as message boxes owned by the main window.
#pragma once

#include <windows.h>

#include <string>

#include "macros/macro_file.h"

class MessageBoxPort : public MessagePort {
public:
    // caption: the application's name; owner may be set once the main window exists.
    explicit MessageBoxPort(std::wstring caption, HWND owner = nullptr) : caption_(std::move(caption)), owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(std::u16string_view text) override;

private:
    std::wstring caption_;
    HWND owner_;
};
