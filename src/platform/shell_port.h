// What the host actions ask of the Windows shell: open a shell folder, lock the workstation,
// start one of the system's own programs.
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

class ShellPort {
public:
    virtual ~ShellPort() = default;
    // Opens a folder or shell namespace item (e.g. "::{CLSID}") in a normal window.
    virtual void OpenFolder(const std::u16string& item) = 0;
    virtual void LockWorkstation() = 0;
    // Starts a program of the system directory by its file name ("calc.exe"), shown normally.
    // Never looked up through the current directory or PATH: the program runs elevated.
    virtual void StartSystemProgram(const std::u16string& exeName) = 0;
};

// A bare file name ending in ".exe": no directory, drive or stream part that could lead the
// start of a system program somewhere else.
inline bool IsPlainProgramName(std::u16string_view name) {
    if (name.size() <= 4 || name.find_first_of(u"\\/:\"*?<>|") != std::u16string_view::npos) return false;
    if (name.find(u"..") != std::u16string_view::npos || name.front() == u' ' || name.front() == u'.') return false;
    return EqualIgnoringAsciiCase(name.substr(name.size() - 4), u".exe");
}
