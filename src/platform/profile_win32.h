// ProfilePort on Windows' own GetPrivateProfileStringW / WritePrivateProfileStringW.
#pragma once

#include <string>
#include <vector>

#include "platform/profile_port.h"

class Win32Profile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key, std::size_t bufferChars) override;
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override;
    // The copy is made with CopyFileW and put in place with MoveFileExW, written through, once
    // every value written is read back from it: the profile functions report success for a
    // write that a full disk or a size limit cut short.
    bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) override;

private:
    struct Written {
        std::u16string section, key, value;
    };
    std::u16string savingTo_;  // the copy of the save under way
    std::vector<Written> written_;
};
