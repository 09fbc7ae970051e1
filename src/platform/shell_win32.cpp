#include "platform/shell_win32.h"

#include <shellapi.h>
#include <windows.h>

#include <vector>

#include "platform/growing_buffer_win32.h"
#include "platform/wide_text_win32.h"

void Win32Shell::OpenFolder(const std::u16string& item) {
    ShellExecuteW(nullptr, nullptr, ToWide(item).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Shell::LockWorkstation() { LockWorkStation(); }

void Win32Shell::StartSystemProgram(const std::u16string& exeName) {
    // The process is not waited for; its handle closes here.
    LaunchSystemProgram(ToWide(exeName), L"", SW_SHOW);
}

std::wstring SystemProgramPath(const std::wstring& exeName) {
    const std::u16string name(exeName.begin(), exeName.end());
    if (!IsPlainProgramName(name)) return {};
    std::wstring path =
        CallWithGrowingBuffer([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
    if (path.empty()) return {};
    if (path.back() != L'\\') path += L'\\';
    return path + exeName;
}

OwnedHandle LaunchSystemProgram(const std::wstring& exeName, const std::wstring& arguments, int show) {
    const std::wstring path = SystemProgramPath(exeName);
    if (path.empty()) return {};
    return LaunchProgram(path, arguments, show);
}

OwnedHandle LaunchProgram(const std::wstring& path, const std::wstring& arguments, int show) {
    // The application name is the full path, so neither the current directory nor PATH is
    // searched.
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return {};
    }
    const OwnedHandle thread(process.hThread);  // nobody waits for the thread: closed on return
    return OwnedHandle(process.hProcess);
}
