// An INI file in memory, parsed, looked up, changed and written back with the rules of Windows'
// private profile functions as Wine implements them. No file I/O here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_encoding.h"

struct IniKey {
    std::u16string name;
    std::optional<std::u16string> value;  // none for a line without '='
};

struct IniSection {
    std::u16string name;  // empty for the lines before the first header (and for "[]")
    std::vector<IniKey> keys;
};

class IniDocument {
public:
    // Never fails: whatever cannot be understood is kept as a key line or skipped, as Windows does.
    static IniDocument Parse(std::string_view bytes);

    // The whole file: byte order mark, then every section and key line ending in CR LF. Blank
    // lines and the spacing around names and '=' are not kept.
    std::string Serialize() const;

    // The value of key in the first section called section (names compared without regard to
    // ASCII case, white space around them ignored), or nullptr when there is none.
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;

    // Sets key in the first section called section to value (leading white space dropped),
    // appending the key to that section or a new section to the end. Returns false when the
    // key already had exactly this value: then nothing changed and the file need not be written.
    bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // What GetPrivateProfileStringW leaves in a buffer of bufferChars characters for value:
    // at most bufferChars - 1 characters, one pair of matching quotes around it removed.
    static std::u16string CopyEntry(std::u16string_view value, std::size_t bufferChars);

    IniEncoding encoding() const { return encoding_; }
    const std::vector<IniSection>& sections() const { return sections_; }

private:
    IniSection* FindSection(std::u16string_view name);
    const IniSection* FindSection(std::u16string_view name) const;

    std::vector<IniSection> sections_;  // empty only for an empty (or missing) file
    IniEncoding encoding_ = IniEncoding::Ansi;  // a new file is written in the ANSI code page
};
