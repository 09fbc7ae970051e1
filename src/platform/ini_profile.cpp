#include "platform/ini_profile.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/file_path.h"

namespace {

// Far beyond any INI file the program reads; a bigger one is refused rather than slurped.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::FILE* Open(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

enum class Load { Ok, Missing, Failed };

// The whole file; a missing one is not an error (it reads as empty and is created on write).
Load ReadAll(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return Load::Missing;
    if (ec || std::filesystem::is_directory(status)) return Load::Failed;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return Load::Failed;
    std::FILE* f = Open(path, false);
    if (!f) return Load::Failed;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    bytes.resize(got);  // the file may have shrunk meanwhile; what was read is what counts
    return Load::Ok;
}

bool WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::FILE* f = Open(path, true);
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

IniDocument ReadIniFile(const std::u16string& file) {
    std::string bytes;
    if (ReadAll(FileSystemPath(file), bytes) != Load::Ok) bytes.clear();
    return IniDocument::Parse(bytes);
}

std::u16string IniProfile::ReadString(const std::u16string& file, const std::u16string& section,
                                      const std::u16string& key, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    const IniDocument doc = ReadIniFile(file);
    const std::u16string* value = doc.Find(section, key);
    return value ? IniDocument::CopyEntry(*value, bufferChars) : std::u16string();
}

bool IniProfile::WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value) {
    const std::filesystem::path path = FileSystemPath(file);
    std::string bytes;
    const Load load = ReadAll(path, bytes);
    if (load == Load::Failed) return false;
    IniDocument doc = IniDocument::Parse(bytes);
    // Like Windows, an unchanged value leaves the file alone: its comments and blank lines stay.
    if (!doc.Set(section, key, value)) return true;
    return WriteAll(path, doc.Serialize());
}

bool IniProfile::SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) {
    const std::u16string copy = SavingCopyOf(file);
    const std::filesystem::path path = FileSystemPath(file);
    const std::filesystem::path copyPath = FileSystemPath(copy);
    std::error_code ec;
    std::filesystem::remove(copyPath, ec);  // left by a save that was cut short
    if (std::filesystem::exists(path, ec) &&
        !std::filesystem::copy_file(path, copyPath, std::filesystem::copy_options::overwrite_existing, ec)) {
        return false;
    }
    if (!write(copy)) {
        std::filesystem::remove(copyPath, ec);
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(copyPath, path, renamed);
    if (renamed) std::filesystem::remove(copyPath, ec);
    return !renamed;
}
