// The message port on Windows: each message a modal message box.
#pragma once

#include <windows.h>

#include <string>

#include "platform/message_port.h"

class MessageBoxPort : public MessagePort {
public:
    // caption: the box's title; empty gives the system's ("Error"). owner may be set once the
    // main window exists. style: MB_OK and any icon.
    explicit MessageBoxPort(std::wstring caption, HWND owner = nullptr, UINT style = MB_OK)
        : caption_(std::move(caption)), owner_(owner), style_(style) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShowMessage(std::u16string_view text) override;
    Answer Ask(std::u16string_view question, bool withCancel) override;
    // The same for text the shell made itself.
    void Show(const std::wstring& text) const;

private:
    std::wstring caption_;
    HWND owner_;
    UINT style_;
};
