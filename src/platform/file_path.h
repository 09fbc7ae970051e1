// Paths the portable core keeps as UTF-16 text, as the file system sees them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The path up to its first NUL, as a Win32 call would read it; UTF-8 where paths are bytes.
std::filesystem::path FileSystemPath(std::u16string_view path);

// True when something is at path, a file or a folder, as a find-first-file search would find
// it; false for an empty path and for one the system cannot look at.
bool PathExists(std::u16string_view path);

// The size of the file at path; nothing when there is none or it cannot be looked at.
std::optional<std::uintmax_t> FileSize(std::u16string_view path);

// The whole file at path; nothing when it cannot be read or holds more than maxBytes.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(std::u16string_view path, std::uintmax_t maxBytes);

// Replaces whatever is at path by a file of exactly bytes; false when it could not be written
// completely.
bool WriteFileBytes(std::u16string_view path, std::string_view bytes);

// The file at path renamed to path + suffix, or to path + suffix + 2, 3, ... where that name is
// taken, so that nothing kept aside earlier is overwritten. The new name; nothing when the file
// could not be moved.
std::optional<std::u16string> MoveAside(const std::u16string& path, std::u16string_view suffix);

// Removes the file at path; false when it is there and could not be removed.
bool RemoveFile(std::u16string_view path);
