#include "platform/ini_document.h"

#include <algorithm>

#include "platform/text.h"

namespace {

// Windows counts ^Z (an old end-of-file mark) as white space too.
bool IsIniSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::u16string_view TrimStart(std::u16string_view s) {
    while (!s.empty() && IsIniSpace(s.front())) s.remove_prefix(1);
    return s;
}

std::u16string_view Trim(std::u16string_view s) {
    s = TrimStart(s);
    while (!s.empty() && IsIniSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Names and values pass through C strings in Windows, so a NUL ends them.
std::u16string_view UpToNul(std::u16string_view s) { return s.substr(0, s.find(u'\0')); }

// Wine folds only ASCII letters when it compares section and key names.
bool SameName(std::u16string_view a, std::u16string_view b) { return EqualIgnoringAsciiCase(a, b); }

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    const std::u16string text = DecodeIniBytes(bytes, doc.encoding_);
    if (bytes.empty()) return doc;
    doc.sections_.emplace_back();
    // Windows keeps a key with an empty name only when the key before it in the same section
    // had a name; so of a run of "=..." lines only the first survives.
    enum class Previous { None, Named, Unnamed } previous = Previous::None;
    const std::u16string_view all(text);
    std::size_t pos = 0;
    while (pos < all.size()) {
        const std::size_t start = pos;
        while (pos < all.size() && all[pos] != u'\n' && all[pos] != u'\r') ++pos;
        const std::u16string_view line = Trim(all.substr(start, pos - start));
        while (pos < all.size() && (all[pos] == u'\n' || all[pos] == u'\r')) ++pos;
        if (line.empty()) continue;

        if (line.front() == u'[') {
            const std::size_t close = line.rfind(u']');
            if (close != std::u16string_view::npos) {
                doc.sections_.push_back({std::u16string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
                previous = Previous::None;
                continue;
            }
            // without ']' the line is an ordinary key line
        }

        std::u16string_view name = line;
        std::optional<std::u16string> value;
        const std::size_t eq = line.find(u'=');
        if (eq != std::u16string_view::npos) {
            name = line.substr(0, eq);
            while (!name.empty() && IsIniSpace(name.back())) name.remove_suffix(1);
            value = std::u16string(UpToNul(TrimStart(line.substr(eq + 1))));
        }
        if (name.empty() && previous == Previous::Unnamed) continue;
        IniKey key{std::u16string(UpToNul(name)), std::move(value)};
        previous = key.name.empty() ? Previous::Unnamed : Previous::Named;
        doc.sections_.back().keys.push_back(std::move(key));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::u16string text;
    for (const IniSection& section : sections_) {
        if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
        for (const IniKey& key : section.keys) {
            text += key.name;
            if (key.value) text += u"=" + *key.value;
            text += u"\r\n";
        }
    }
    return EncodeIniText(text, encoding_);
}

const IniSection* IniDocument::FindSection(std::u16string_view name) const {
    const std::u16string_view wanted = Trim(UpToNul(name));
    for (const IniSection& section : sections_) {
        if (SameName(section.name, wanted)) return &section;  // later duplicates are never seen
    }
    return nullptr;
}

IniSection* IniDocument::FindSection(std::u16string_view name) {
    return const_cast<IniSection*>(static_cast<const IniDocument*>(this)->FindSection(name));
}

const std::u16string* IniDocument::Find(std::u16string_view section, std::u16string_view key) const {
    const IniSection* found = FindSection(section);
    if (!found) return nullptr;
    const std::u16string_view wanted = Trim(UpToNul(key));
    for (const IniKey& k : found->keys) {
        if (SameName(k.name, wanted)) return k.value ? &*k.value : nullptr;
    }
    return nullptr;
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    // Names are matched trimmed, but Windows stores a new name with only its leading white space
    // dropped; the trailing one goes into the file (and is trimmed again when the file is read).
    value = TrimStart(UpToNul(value));
    key = TrimStart(UpToNul(key));
    IniSection* target = FindSection(section);
    if (!target) {
        sections_.push_back({std::u16string(TrimStart(UpToNul(section))), {}});
        target = &sections_.back();
    }
    const std::u16string_view wanted = Trim(key);
    for (IniKey& k : target->keys) {
        if (!SameName(k.name, wanted)) continue;
        if (k.value && *k.value == value) return false;
        k.value = std::u16string(value);
        return true;
    }
    target->keys.push_back({std::u16string(key), std::u16string(value)});
    return true;
}

std::u16string IniDocument::CopyEntry(std::u16string_view value, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    value = UpToNul(value);
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    if (quoted) value.remove_prefix(1);
    std::u16string out(value.substr(0, bufferChars - 1));
    // Windows drops the last character copied, not the closing quote: with a buffer just one
    // character too short for the closing quote, a real character goes instead.
    if (quoted && bufferChars >= value.size() && !out.empty()) out.pop_back();
    return out;
}
