#include "platform/message_box_win32.h"

#include "platform/wide_text_win32.h"

void MessageBoxPort::ShowMessage(std::u16string_view text) { Show(ToWide(text)); }

void MessageBoxPort::Show(const std::wstring& text) const {
    MessageBoxW(owner_, text.c_str(), caption_.empty() ? nullptr : caption_.c_str(), style_);
}

Answer MessageBoxPort::Ask(std::u16string_view question, bool withCancel) {
    const UINT buttons = (withCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_DEFBUTTON2 | MB_ICONQUESTION;
    switch (MessageBoxW(owner_, ToWide(question).c_str(), caption_.empty() ? nullptr : caption_.c_str(), buttons)) {
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return withCancel ? Answer::Cancel : Answer::No;
    }
}
