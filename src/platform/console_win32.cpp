#include "platform/console_win32.h"

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/text.h"
#include "platform/wide_text_win32.h"

namespace {
bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

bool Write(HANDLE handle, const std::wstring& line) {
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        return WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
    }
    // A file or pipe gets UTF-8, which a script reads most easily.
    const std::string bytes = Utf8FromUtf16(FromWide(line));
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}
}  // namespace

bool WriteToStartingConsole(const std::wstring& text) {
    const std::wstring line = text + L"\r\n";
    if (HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE); Usable(out) && Write(out, line)) return true;
    // Started from a command prompt, a windowed program inherits no handles; the prompt's
    // console takes the text once attached.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return false;
    const OwnedHandle console(
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    return Usable(console.get()) && Write(console.get(), line);
}
