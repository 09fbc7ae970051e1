// The shell port of the program: ShellExecuteW for folders, LockWorkStation, and programs of
// the system directory started by their full path.
#pragma once

#include <string>

#include "platform/handles_win32.h"
#include "platform/shell_port.h"

class Win32Shell : public ShellPort {
public:
    void OpenFolder(const std::u16string& item) override;
    void LockWorkstation() override;
    void StartSystemProgram(const std::u16string& exeName) override;
};

// GetSystemDirectoryW + "\" + exeName, or empty when exeName is not a plain file name ending in
// ".exe" or the directory cannot be had.
std::wstring SystemProgramPath(const std::wstring& exeName);

// Starts the system program with the command-line arguments (may be empty), shown with show
// (SW_*). The process handle, or an empty one when it could not be started.
OwnedHandle LaunchSystemProgram(const std::wstring& exeName, const std::wstring& arguments, int show);

// Starts the program at the full path with the arguments (already quoted, may be empty); the
// command line repeats the path quoted, as programs expect their name first. The process handle,
// or an empty one when it could not be started.
OwnedHandle LaunchProgram(const std::wstring& path, const std::wstring& arguments, int show);
