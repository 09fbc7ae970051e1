// Paths the portable core keeps as UTF-16 text, as the file system sees them.
#pragma once

#include <filesystem>
#include <string_view>

// The path up to its first NUL, as a Win32 call would read it; UTF-8 where paths are bytes.
std::filesystem::path FileSystemPath(std::u16string_view path);

// True when something is at path, a file or a folder, as a find-first-file search would find
// it; false for an empty path and for one the system cannot look at.
bool PathExists(std::u16string_view path);
