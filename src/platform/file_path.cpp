#include "platform/file_path.h"

#include <fstream>
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

std::optional<std::uintmax_t> FileSize(std::u16string_view path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(FileSystemPath(path), ec);
    if (ec) return std::nullopt;
    return size;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(std::u16string_view path, std::uintmax_t maxBytes) {
    const std::optional<std::uintmax_t> size = FileSize(path);
    if (!size || *size > maxBytes) return std::nullopt;
    std::ifstream file(FileSystemPath(path), std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(std::u16string_view path, std::string_view bytes) {
    std::ofstream file(FileSystemPath(path), std::ios::binary | std::ios::trunc);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    file.close();
    return !file.fail();
}

std::optional<std::u16string> MoveAside(const std::u16string& path, std::u16string_view suffix) {
    constexpr int kMostKept = 1000;
    for (int n = 1; n <= kMostKept; ++n) {
        const std::u16string aside = path + std::u16string(suffix) + (n == 1 ? u"" : DecimalText(n));
        if (PathExists(aside)) continue;
        std::error_code ec;
        std::filesystem::rename(FileSystemPath(path), FileSystemPath(aside), ec);
        if (ec) return std::nullopt;
        return aside;
    }
    return std::nullopt;
}

bool RemoveFile(std::u16string_view path) {
    std::error_code ec;
    std::filesystem::remove(FileSystemPath(path), ec);
    return !ec;
}
