#include "platform/profile_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/wide_text_win32.h"

namespace {

// Wine keeps a parsed copy of each profile file and answers from it until it notices the file
// changed, which a change within the same timestamp tick can hide. Dropping that copy around
// every call makes each call see the file as it is on disk.
void ForgetCachedCopy(const std::wstring& file) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str()); }

// The profile functions take no path of MAX_PATH or more (under Wine reads find nothing and
// writes fail, with or without "\\?\"); the portable engine, which reads and writes files
// byte for byte as they do, serves such a path.
bool BeyondProfileFunctions(const std::wstring& file) { return file.size() >= MAX_PATH; }

}  // namespace

std::u16string Win32Profile::ReadString(const std::u16string& file, const std::u16string& section,
                                        const std::u16string& key, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    const std::wstring path = ToWide(file);
    if (BeyondProfileFunctions(path)) return IniProfile().ReadString(file, section, key, bufferChars);
    ForgetCachedCopy(path);
    const std::size_t limit = std::min<std::size_t>(bufferChars, UINT_MAX);
    // Start small and grow: the caller's size may be huge. A result within two characters of the
    // buffer's end may have been cut (or lost a character to quote removal), so it is retried.
    std::size_t chars = std::min<std::size_t>(limit, 1024);
    for (;;) {
        // One spare character in front: Wine writes one before the buffer for "" in a 1-char buffer.
        std::vector<wchar_t> buffer(chars + 1, L'\0');
        const DWORD got = GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), L"", buffer.data() + 1,
                                                   static_cast<DWORD>(chars), path.c_str());
        const std::size_t length = std::min<std::size_t>(got, chars - 1);
        if (chars == limit || length + 2 < chars) return std::u16string(buffer.begin() + 1, buffer.begin() + 1 + length);
        chars = std::min(limit, chars * 2);
    }
}

bool Win32Profile::WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                               const std::u16string& value) {
    const std::wstring path = ToWide(file);
    if (!savingTo_.empty() && file == savingTo_) written_.push_back({section, key, value});
    if (BeyondProfileFunctions(path)) return IniProfile().WriteString(file, section, key, value);
    ForgetCachedCopy(path);
    const bool ok = WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(value).c_str(),
                                               path.c_str()) != FALSE;
    ForgetCachedCopy(path);
    return ok;
}

bool Win32Profile::SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) {
    const std::wstring path = ToWide(file);
    const std::u16string copy = SavingCopyOf(file);
    const std::wstring copyPath = ToWide(copy);
    if (BeyondProfileFunctions(copyPath)) return IniProfile().SaveWhole(file, write);
    DeleteFileW(copyPath.c_str());  // left by a save that was cut short
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && !CopyFileW(path.c_str(), copyPath.c_str(), FALSE)) {
        return false;
    }
    ForgetCachedCopy(copyPath);
    savingTo_ = copy;
    written_.clear();
    bool written = write(copy);
    savingTo_.clear();
    ForgetCachedCopy(copyPath);  // every write is on disk before the copy moves
    if (written) {
        const IniDocument saved = ReadIniFile(copy);
        for (const Written& w : written_) {
            const std::u16string* value = saved.Find(w.section, w.key);
            written = written && value && *value == w.value;
        }
    }
    const bool replaced =
        written && MoveFileExW(copyPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) DeleteFileW(copyPath.c_str());
    ForgetCachedCopy(path);
    return replaced;
}
