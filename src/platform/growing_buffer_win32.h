// Win32 calls that copy text of unknown length (a path, a variable's value) into the caller's
// buffer: the buffer doubles until the whole text fits, so a path longer than MAX_PATH is
// never cut.
#pragma once

#include <windows.h>

#include <string>

// fill(buffer, size) is such a call: it returns the length it wrote, 0 on failure, or size or
// more when the text did not fit (GetModuleFileNameW returns size, cut; the others the size
// they need). The whole text, or empty when the call failed.
template <class Fill>
std::wstring CallWithGrowingBuffer(Fill fill) {
    // No Windows text of this kind is longer than a UNICODE_STRING can hold.
    constexpr std::size_t kLongestText = 32768;
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const std::size_t length = fill(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        if (text.size() > kLongestText) return {};
        text.resize(text.size() * 2);
    }
}

// The full path of the running exe.
inline std::wstring ModuleFileName() {
    return CallWithGrowingBuffer([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

// The environment variable's value; empty when it is not set.
inline std::wstring EnvironmentVariable(const wchar_t* name) {
    return CallWithGrowingBuffer(
        [name](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); });
}
