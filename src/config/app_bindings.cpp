#include "config/app_bindings.h"

#include <algorithm>

#include "config/active_config.h"
#include "platform/file_path.h"
#include "platform/ini_encoding.h"
#include "platform/text.h"

namespace {
constexpr std::u16string_view kAppsSection = u"Apps";
constexpr std::u16string_view kOptionsSection = u"Options";
constexpr std::u16string_view kOnKey = u"On";

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string_view Trimmed(std::u16string_view text) { return TrimmedOf(text, u" \t"); }

// File names are compared as Windows compares them, for the letters users' program names have:
// Latin, Greek, Cyrillic and full-width Latin.
char16_t FoldCase(char16_t c) {
    if (c < 0x80) return AsciiLower(c);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

// The form two names of one program share: case folded, '/' as '\'.
std::u16string Comparable(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) c = IsSeparator(c) ? u'\\' : FoldCase(c);
    return folded;
}

bool IsFullPath(std::u16string_view program) {
    return std::any_of(program.begin(), program.end(), IsSeparator);
}

// A key a line of [Apps] can carry and a file name or an absolute path can be: nothing that
// would read back as a comment or a header, no characters Windows forbids in names.
bool IsProgramKey(std::u16string_view key) {
    if (key.empty() || key != Trimmed(key)) return false;
    if (key.front() == u';' || key.front() == u'#' || key.front() == u'[') return false;
    for (const char16_t c : key) {
        if (c < 0x20 || std::u16string_view(u"\"*?<>|").find(c) != std::u16string_view::npos) return false;
    }
    if (!IsFullPath(key)) return key.find(u':') == std::u16string_view::npos;
    if (IsSeparator(key.back())) return false;  // a folder, no program
    const bool drive = key.size() > 3 && AsciiLower(key[0]) >= u'a' && AsciiLower(key[0]) <= u'z' &&
                       key[1] == u':' && IsSeparator(key[2]);
    const bool share = key.size() > 2 && IsSeparator(key[0]) && IsSeparator(key[1]);
    return drive || share;
}

bool IsSlot(int slot) { return slot >= 1 && slot <= kUserSlotCount; }

// "key=value" split at the last '=': a path may hold '=', a slot never does.
struct KeyLine {
    std::u16string_view key;
    std::u16string_view value;
};
std::optional<KeyLine> KeyLineOf(std::u16string_view line) {
    const std::size_t equals = line.rfind(u'=');
    if (equals == std::u16string_view::npos) return std::nullopt;
    return KeyLine{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

std::optional<int> SlotOf(std::u16string_view value) {
    if (value.size() != 1 || value[0] < u'0' || value[0] > u'9') return std::nullopt;
    const int slot = value[0] - u'0';
    return IsSlot(slot) ? std::optional<int>(slot) : std::nullopt;
}

// What a line of the file is to us; all but the valid bindings and On are only kept.
enum class LineKind { Header, Binding, On, Kept };
struct ReadLine {
    LineKind kind = LineKind::Kept;
    std::u16string section;  // of a header
    AppBinding binding;
    bool on = true;
};

ReadLine Read(std::u16string_view line, std::u16string_view section) {
    const std::u16string_view text = Trimmed(line);
    if (text.size() >= 2 && text.front() == u'[' && text.back() == u']') {
        ReadLine header;
        header.kind = LineKind::Header;
        header.section = Trimmed(text.substr(1, text.size() - 2));
        return header;
    }
    if (text.empty() || text.front() == u';' || text.front() == u'#') return {};
    const std::optional<KeyLine> keyLine = KeyLineOf(text);
    if (!keyLine) return {};
    if (EqualIgnoringAsciiCase(section, kAppsSection)) {
        const std::optional<int> slot = SlotOf(keyLine->value);
        if (!slot || !IsProgramKey(keyLine->key)) return {};
        ReadLine binding;
        binding.kind = LineKind::Binding;
        binding.binding = {std::u16string(keyLine->key), *slot};
        return binding;
    }
    if (EqualIgnoringAsciiCase(section, kOptionsSection) && EqualIgnoringAsciiCase(keyLine->key, kOnKey) &&
        (keyLine->value == u"0" || keyLine->value == u"1")) {
        ReadLine on;
        on.kind = LineKind::On;
        on.on = keyLine->value == u"1";
        return on;
    }
    return {};
}

std::u16string BindingLine(const AppBinding& binding) {
    return binding.program + u"=" + DecimalText(binding.slot);
}
}  // namespace

AppBindings AppBindings::Parse(std::u16string_view text) {
    AppBindings parsed;
    bool onRead = false;
    std::u16string section;
    while (!text.empty()) {
        const std::size_t end = text.find(u'\n');
        std::u16string_view line = text.substr(0, end);
        text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        parsed.lines_.emplace_back(line);
        const ReadLine read = Read(line, section);
        if (read.kind == LineKind::Header) section = read.section;
        if (read.kind == LineKind::Binding) parsed.bindings_.push_back(read.binding);
        if (read.kind == LineKind::On && !onRead) {
            parsed.on_ = read.on;
            onRead = true;
        }
    }
    return parsed;
}

std::u16string AppBindings::Text() const {
    std::vector<std::u16string> out;
    bool bindingsWritten = false;
    bool onWritten = false;
    const auto writeBindings = [&](std::size_t at) {
        std::vector<std::u16string> lines;
        for (const AppBinding& binding : bindings_) lines.push_back(BindingLine(binding));
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
        bindingsWritten = true;
    };
    const auto writeOn = [&](std::size_t at) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), std::u16string(kOnKey) + (on_ ? u"=1" : u"=0"));
        onWritten = true;
    };
    // A section that had no line of ours gets it after its last line that is not blank.
    const auto endOfSection = [&](std::u16string_view section) {
        std::size_t at = out.size();
        while (at > 0 && Trimmed(out[at - 1]).empty()) --at;
        if (!bindingsWritten && EqualIgnoringAsciiCase(section, kAppsSection)) writeBindings(at);
        if (!onWritten && EqualIgnoringAsciiCase(section, kOptionsSection)) writeOn(at);
    };

    std::u16string section;
    for (const std::u16string& line : lines_) {
        const ReadLine read = Read(line, section);
        switch (read.kind) {
            case LineKind::Header:
                endOfSection(section);
                section = read.section;
                out.push_back(line);
                break;
            case LineKind::Binding:
                if (!bindingsWritten) writeBindings(out.size());
                break;
            case LineKind::On:
                if (!onWritten) writeOn(out.size());
                break;
            case LineKind::Kept:
                out.push_back(line);
                break;
        }
    }
    endOfSection(section);
    if (!onWritten) {
        out.push_back(u"[" + std::u16string(kOptionsSection) + u"]");
        writeOn(out.size());
    }
    if (!bindingsWritten) {
        out.push_back(u"[" + std::u16string(kAppsSection) + u"]");
        writeBindings(out.size());
    }

    std::u16string text;
    for (const std::u16string& line : out) text += line + u"\r\n";
    return text;
}

std::optional<std::size_t> AppBindings::Bind(std::u16string_view program, int slot) {
    program = Trimmed(program);
    if (!IsProgramKey(program) || !IsSlot(slot)) return std::nullopt;
    const std::u16string wanted = Comparable(program);
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        if (Comparable(bindings_[i].program) == wanted) return i;
    }
    bindings_.push_back({std::u16string(program), slot});
    return bindings_.size() - 1;
}

void AppBindings::SetSlot(std::size_t index, int slot) {
    if (index < bindings_.size() && IsSlot(slot)) bindings_[index].slot = slot;
}

void AppBindings::Remove(std::size_t index) {
    if (index < bindings_.size()) bindings_.erase(bindings_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<int> AppBindings::SlotFor(std::u16string_view imagePath) const {
    if (!on_) return std::nullopt;
    const std::u16string path = Comparable(imagePath);
    const std::u16string_view name = FileNameOf(path);
    std::optional<int> byName;
    for (const AppBinding& binding : bindings_) {
        const std::u16string program = Comparable(binding.program);
        if (IsFullPath(program)) {
            if (program == path) return binding.slot;
        } else if (!byName && program == name) {
            byName = binding.slot;
        }
    }
    return byName;
}

AppBindings LoadAppBindings(const std::u16string& path) {
    if (!PathExists(path)) return {};
    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kMostAppsIniBytes);
    if (!bytes) {
        AppBindings none;
        none.MarkUnsaveable();
        return none;
    }
    IniEncoding encoding = IniEncoding::Utf16Le;
    return AppBindings::Parse(
        DecodeIniBytes(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), encoding));
}

bool SaveAppBindings(ProfilePort& profile, const std::u16string& path, const AppBindings& bindings) {
    if (!bindings.Saveable()) return false;
    // Checked again now: the file may have become something else since it was read.
    if (const std::optional<std::uintmax_t> size = FileSize(path); size && *size > kMostAppsIniBytes) return false;
    const std::string bytes = EncodeIniText(bindings.Text(), IniEncoding::Utf16Le);
    return profile.SaveWhole(path, [&](const std::u16string& target) { return WriteFileBytes(target, bytes); });
}
