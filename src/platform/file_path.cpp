#include "platform/file_path.h"

#include <string>
#include <system_error>

#include "platform/text.h"

std::filesystem::path FileSystemPath(std::u16string_view path) {
    path = path.substr(0, path.find(u'\0'));
#ifdef _WIN32
    return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
    return std::filesystem::path(Utf8FromUtf16(path));
#endif
}

bool PathExists(std::u16string_view path) {
    if (path.empty()) return false;
    std::error_code ignored;
    return std::filesystem::exists(FileSystemPath(path), ignored);
}
