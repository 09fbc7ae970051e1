// ProfilePort on Windows' own GetPrivateProfileStringW / WritePrivateProfileStringW.
#pragma once

#include "platform/profile_port.h"

class Win32Profile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key, std::size_t bufferChars) override;
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override;
    // The copy is made with CopyFileW and put in place with MoveFileExW, written through.
    bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) override;
};
