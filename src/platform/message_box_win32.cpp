#include "platform/message_box_win32.h"

#include "platform/wide_text_win32.h"

void MessageBoxPort::ShowMessage(std::u16string_view text) { Show(ToWide(text)); }

void MessageBoxPort::Show(const std::wstring& text) const {
    MessageBoxW(owner_, text.c_str(), caption_.empty() ? nullptr : caption_.c_str(), style_);
}
