// libFuzzer target of the INI core: arbitrary bytes parsed, looked up, changed and written back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ini_document.h"

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "INI invariant broken: %s\n", what);
        std::abort();
    }
}

bool IsSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

// Parsed names and values are single lines without NULs or leading white space (trailing white
// space survives only where a NUL cut the line short, as in Windows).
bool Clean(const std::u16string& s) {
    if (!s.empty() && IsSpace(s.front())) return false;
    return s.find_first_of(std::u16string(u"\r\n\0", 3)) == std::u16string::npos;
}

// When a rewrite drops the first lines of an ANSI file, what follows may begin with the bytes of
// a byte order mark ("\xFF\xFE[S]" read as Windows-1252): Windows then reads the new file in
// that encoding, and so does the portable engine.
bool Remarked(const IniDocument& doc, const std::string& bytes) {
    return doc.encoding() == IniEncoding::Ansi && (bytes.rfind("\xEF\xBB\xBF", 0) == 0 || bytes.rfind("\xFF\xFE", 0) == 0 ||
                                                   bytes.rfind("\xFE\xFF", 0) == 0);
}

// A name or value from the fuzzer's bytes, over characters the document's encoding holds exactly.
std::u16string Text(FuzzedDataProvider& in, IniEncoding encoding) {
    static const char16_t wide[] = {u'\u4e2d', u'\u0416', 0xD83D, 0xDE00};
    std::u16string out;
    for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 12); n > 0 && in.remaining_bytes() > 0; --n) {
        const auto b = in.ConsumeIntegral<std::uint8_t>();
        if (b < 0x80 || encoding == IniEncoding::Ansi) {
            out.push_back(b < 0x80 || b >= 0xA0 ? b : u'?');
        } else if (b < 0x84) {
            out.push_back(wide[b & 1]);
        } else {
            out += std::u16string(wide + 2, 2);  // a surrogate pair, never a lone half
        }
    }
    return out;
}

// Names as a lookup compares them: cut at a NUL, trimmed, ASCII letters folded.
bool SameName(std::u16string a, std::u16string b) {
    const auto normal = [](std::u16string s) {
        s = s.substr(0, s.find(u'\0'));
        while (!s.empty() && IsSpace(s.front())) s.erase(0, 1);
        while (!s.empty() && IsSpace(s.back())) s.pop_back();
        for (char16_t& c : s) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
        return s;
    };
    return normal(std::move(a)) == normal(std::move(b));
}

// Whether the first section named section has a line key=value.
bool HoldsLine(const IniDocument& doc, const std::u16string& section, const std::u16string& key,
               const std::u16string& value) {
    for (const IniSection& s : doc.sections()) {
        if (!SameName(s.name, section)) continue;
        for (const IniKey& k : s.keys) {
            if (SameName(k.name, key) && k.value == value) return true;
        }
        return false;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(4096);
    IniDocument doc = IniDocument::Parse(file);

    for (const IniSection& section : doc.sections()) {
        Require(Clean(section.name), "section name not trimmed");
        for (const IniKey& key : section.keys) {
            Require(Clean(key.name) && (!key.value || Clean(*key.value)), "key line not trimmed");
        }
    }

    // Writing back settles after two rounds: a "[]" section joins the one before it, and then a
    // run of empty-named keys collapses to one. Unless the rewrite changes the encoding (see
    // Remarked), which Windows then reads in.
    const std::string once = doc.Serialize();
    if (!Remarked(doc, once)) {
        const IniDocument reread = IniDocument::Parse(once);
        Require(reread.encoding() == doc.encoding(), "encoding lost on rewrite");
        const std::string twice = reread.Serialize();
        Require(Remarked(reread, twice) || IniDocument::Parse(twice).Serialize() == twice, "serialising does not settle");
    }

    while (in.remaining_bytes() > 0) {
        const std::u16string section = Text(in, doc.encoding());
        const std::u16string key = Text(in, doc.encoding());
        const std::u16string value = Text(in, doc.encoding());
        const std::size_t chars = in.ConsumeIntegralInRange<std::size_t>(0, 20);

        if (const std::u16string* found = doc.Find(section, key)) {
            const std::u16string copy = IniDocument::CopyEntry(*found, chars);
            Require(copy.size() + 1 <= std::max<std::size_t>(chars, 1), "copy overruns the buffer");
            Require(copy.empty() || found->compare(0, copy.size(), copy) == 0 || found->compare(1, copy.size(), copy) == 0,
                    "copy is not taken from the value");
            Require(!doc.Set(section, key, *found), "writing the same value changed the file");
        }

        doc.Set(section, key, value);
        // Every call of the profile functions goes through the file: the document is what the
        // file now says. There the value reads back trimmed and cut at a NUL, as long as its line
        // stayed one key line.
        const std::string bytes = doc.Serialize();
        const bool remarked = Remarked(doc, bytes);
        doc = IniDocument::Parse(bytes);
        const auto oneLine = [](const std::u16string& s) { return s.find_first_of(u"\r\n") == s.npos; };
        std::u16string name = key.substr(0, key.find(u'\0'));
        while (!name.empty() && IsSpace(name.front())) name.erase(0, 1);
        if (!remarked && oneLine(section) && oneLine(key) && oneLine(value) && name.find(u'=') == name.npos &&
            (name.empty() || name[0] != u'[')) {
            std::u16string expected = value.substr(0, value.find(u'\0'));
            while (!expected.empty() && IsSpace(expected.front())) expected.erase(0, 1);
            while (!expected.empty() && IsSpace(expected.back())) expected.pop_back();
            // Readers see the first line of that name. An earlier line whose name a NUL kept from
            // matching before the rewrite may now come first and shadow the written one, as in
            // Windows; the written line must still be in the file.
            const std::u16string* back = doc.Find(section, key);
            Require((back && *back == expected) || HoldsLine(doc, section, key, expected),
                    "written value is not in the file");
        }
    }
    return 0;
}
