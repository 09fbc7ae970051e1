#include "macros/message_box_win32.h"

void MessageBoxPort::ShowMessage(std::u16string_view text) {
    const std::wstring wide(text.begin(), text.end());
    MessageBoxW(owner_, wide.c_str(), caption_.c_str(), MB_OK);
}
