// The portable INI engine: the observable behaviour of Windows' private profile functions (as
// Wine implements them) on files in UTF-16LE with BOM, UTF-8 or plain ASCII. Every call reads
// the file afresh. Paths are used as given: a bare file name is not looked for in the Windows
// directory as Windows would.
#pragma once

#include "platform/ini_document.h"
#include "platform/profile_port.h"

// The file parsed; an empty document when it is missing or cannot be read.
IniDocument ReadIniFile(const std::u16string& file);

class IniProfile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key, std::size_t bufferChars) override;
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override;
    // The copy is made and put in place with the file system's copy and rename.
    bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) override;
};
