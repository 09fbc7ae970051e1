// Access to INI files with the semantics of Windows' private profile functions. The Windows
// shell implements it with GetPrivateProfileStringW/WritePrivateProfileStringW; everything else
// (tests, other platforms) uses the portable IniProfile engine.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

class ProfilePort {
public:
    virtual ~ProfilePort() = default;

    // The value of key in section, as GetPrivateProfileStringW with no default returns it into a
    // buffer of bufferChars characters (terminator included): at most bufferChars - 1 characters,
    // empty when the file, the section or the key is missing.
    virtual std::u16string ReadString(const std::u16string& file, const std::u16string& section,
                                      const std::u16string& key, std::size_t bufferChars) = 0;

    // Sets key in section to value, creating the file, the section or the key when needed.
    // Returns false when the file could not be written.
    virtual bool WriteString(const std::u16string& file, const std::u16string& section,
                             const std::u16string& key, const std::u16string& value) = 0;

    // One save of file, whole or not at all: write makes its writes to target, a copy of file
    // beside it, which replaces file only when write returned true. False, with file as it was,
    // when write or the replacement failed. A store that keeps no files writes to file itself.
    virtual bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) {
        return write(file);
    }
};

// The copy a whole save writes to, beside the file it replaces.
inline std::u16string SavingCopyOf(const std::u16string& file) { return file + u".saving"; }
