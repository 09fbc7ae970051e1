// The portable INI engine against Windows' own profile functions: generated messy files, the
// same operations on two copies, identical reads and identical bytes after every write.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/profile_win32.h"
#include "platform/text.h"
#include "win32/support.h"

namespace {

// Fixed, so a failure reproduces; HXT_INI_SEED picks another sequence for exploring.
std::uint64_t Seed() {
    const char* env = std::getenv("HXT_INI_SEED");
    return env ? std::strtoull(env, nullptr, 10) : 20240611;
}
constexpr int kCases = 90;

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {  // splitmix64: the same sequence on every platform
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    bool Percent(int p) { return static_cast<int>(Below(100)) < p; }
    template <class T>
    const T& Pick(const std::vector<T>& v) { return v[Below(v.size())]; }

private:
    std::uint64_t state_;
};

enum class Kind { Ansi, Utf8NoBom, Utf8Bom, Utf16Le, Utf16Be };
const char* const kKindNames[] = {"ANSI", "UTF-8 without BOM", "UTF-8 with BOM", "UTF-16LE", "UTF-16BE"};

// Windows-1252 bytes of the few non-ASCII characters the ANSI files are made of.
std::string AnsiBytes(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) out.push_back(c == u'\u20AC' ? '\x80' : c == u'\u0160' ? '\x8A' : static_cast<char>(c));
    return out;
}

class Generator {
public:
    // asciiOnly: BOM-less files are in the ANSI code page, and the portable engine assumes
    // Windows-1252; under another code page only ASCII means the same to both.
    Generator(Rng& rng, Kind kind, bool asciiOnly) : rng_(rng), kind_(kind), asciiOnly_(asciiOnly) {
        exotic_ = {u"\u00e9", u"\u00c9", u"\u20ac", u"\u00fc"};  // ANSI files hold Windows-1252 only
        if (kind == Kind::Ansi) exotic_.push_back(u"\u0160");
        if (kind != Kind::Ansi) exotic_.insert(exotic_.end(), {u"\u4e2d\u6587", u"\u0416", u"\u0436", u"\u212a", u"\U0001F600"});
        if (asciiOnly) exotic_.clear();
    }

    std::u16string Word() {
        static const std::vector<std::u16string> words = {u"General", u"Main", u"Init", u"Key Map", u"skin", u"x]y",
                                                          u"CurConfig", u"DPI", u"a", u"Name", u"Value1", u";c", u"K"};
        return Vary(rng_.Percent(15) && !exotic_.empty() ? rng_.Pick(exotic_) : rng_.Pick(words));
    }
    // The same name in other letter cases, non-ASCII ones included (which Windows tells apart).
    std::u16string Vary(std::u16string w) {
        for (char16_t& c : w) {
            if (!rng_.Percent(30)) continue;
            if ((c | 0x20) >= u'a' && (c | 0x20) <= u'z') c ^= 0x20;
            else if (c == u'\u00e9' || c == u'\u00c9' || c == u'\u0416' || c == u'\u0436') c ^= 0x20;
            else if (c == u'\u212a') c = u'k';  // the Kelvin sign
        }
        return w;
    }
    // Section and key of an operation: often ones the file has, padded and in another case.
    std::pair<std::u16string, std::u16string> Names() {
        if (!known_.empty() && rng_.Percent(60)) {
            const auto& [section, key] = rng_.Pick(known_);
            return {Pad() + Vary(section) + Pad(), Pad() + Vary(key) + Pad()};
        }
        return {Pad() + (rng_.Percent(8) ? u"" : Word()) + Pad(), Pad() + (rng_.Percent(5) ? u"" : Word()) + Pad()};
    }
    void Remember(const std::u16string& section, const std::u16string& key) { known_.emplace_back(section, key); }
    std::u16string Pad() {
        static const std::vector<std::u16string> pads = {u"", u"", u"", u" ", u"  ", u"\t", u" \t "};
        return rng_.Pick(pads);
    }
    std::u16string Value(bool forWrite) {
        switch (rng_.Below(forWrite ? 12 : 10)) {
            case 0: return DecimalText(static_cast<long long>(rng_.Below(100000)) - 500);
            case 1: return u"\"" + Word() + u"\"";
            case 2: return u"'" + Word() + (rng_.Percent(50) ? u"'" : u"\"");
            case 3: return rng_.Percent(50) ? u"\"" : u"\"\"";
            case 4: {
                std::u16string s;
                for (std::size_t n = 50 + rng_.Below(400); s.size() < n;) s += Word() + u" ";
                return s;
            }
            case 5: return Word() + u"=" + Word() + u";" + Pad() + Word();
            case 6: return exotic_.empty() ? u"plain" : rng_.Pick(exotic_) + Word();
            case 7: return u"";
            case 8: case 9: return Word() + Pad() + Word();
            case 10:  // only written: line breaks, NUL, stray surrogates, characters ANSI lacks
                return Word() + rng_.Pick(std::vector<std::u16string>{u"\r\n", u"\n[", u"\r=", std::u16string(u"\0cut", 4)}) + Word();
            default:
                if (asciiOnly_) return u"ascii";
                return rng_.Pick(std::vector<std::u16string>{u"\u0100\u2013\u4e2d", u"\uff46\u2605", u"\xD800x", u"\U0001F600"});
        }
    }

    // A whole file of messy lines, already in bytes of the case's encoding.
    std::string File() {
        std::u16string text, section;
        for (std::size_t lines = 2 + rng_.Below(20), i = 0; i < lines; ++i) {
            switch (rng_.Below(12)) {
                case 0: case 1:
                    section = Word();
                    text += Pad() + u"[" + Pad() + section + Pad() + u"]" + (rng_.Percent(10) ? u"junk" : u"");
                    break;
                case 2: text += rng_.Pick(std::vector<std::u16string>{u"[]", u"[broken", u"[a]b]c", u"[\x1a" u"Main\x0b]"}); break;
                case 3: text += Pad() + Word(); break;
                case 4: {
                    const std::u16string comment = u";" + Word();
                    Remember(section, comment);
                    text += comment + (rng_.Percent(50) ? u"=" + Word() : u"");
                    break;
                }
                case 5: text += Pad() + u"=" + Value(false); break;
                case 6: text += rng_.Pick(std::vector<std::u16string>{u"", u" \t", u"\x1a", u"\x0c"}); break;
                default: {
                    const std::u16string key = Word();
                    Remember(section, key);
                    text += Pad() + key + Pad() + u"=" + Pad() + Value(false) + Pad();
                    break;
                }
            }
            if (rng_.Percent(3)) text.insert(rng_.Below(text.size() + 1), 1, u'\0');
            if (i + 1 < lines || rng_.Percent(70))
                text += rng_.Pick(std::vector<std::u16string>{u"\r\n", u"\r\n", u"\r\n", u"\n", u"\r", u"\r\r\n"});
        }
        std::string bytes;
        switch (kind_) {
            case Kind::Ansi: bytes = AnsiBytes(text); break;
            case Kind::Utf8NoBom: bytes = Utf8FromUtf16(text); break;
            case Kind::Utf8Bom: bytes = "\xEF\xBB\xBF" + Utf8FromUtf16(text); break;
            case Kind::Utf16Le: case Kind::Utf16Be: {
                const bool be = kind_ == Kind::Utf16Be;
                bytes = be ? "\xFE\xFF" : "\xFF\xFE";
                for (const char16_t c : text) {
                    bytes.push_back(static_cast<char>(be ? c >> 8 : c & 0xFF));
                    bytes.push_back(static_cast<char>(be ? c & 0xFF : c >> 8));
                }
                break;
            }
        }
        for (int damage = kind_ == Kind::Utf8Bom ? static_cast<int>(rng_.Below(4)) : 0; damage > 0; --damage) {
            static const std::vector<std::string> bad = {"\xE4\xB8", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80",
                                                         "\xFE", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\xF0\x9F\x98"};
            bytes.insert(3 + rng_.Below(bytes.size() - 2), rng_.Pick(bad));
        }
        return bytes;
    }

private:
    Rng& rng_;
    Kind kind_;
    bool asciiOnly_;
    std::vector<std::u16string> exotic_;
    std::vector<std::pair<std::u16string, std::u16string>> known_;
};

std::string Escaped(const std::string& bytes) {
    std::ostringstream out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') out << ch;
        else out << "\\x" << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
    }
    return out.str();
}
std::string Escaped(const std::u16string& text) { return Escaped(Utf8FromUtf16(text)); }

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("<no file>");
}

TEST(IniDifferential, PortableEngineMatchesWindows) {
    const bool ansiIs1252 = GetACP() == 1252;
    if (!ansiIs1252) std::printf("ANSI code page is %u, not 1252: BOM-less files stay ASCII\n", GetACP());
    ScratchDir dir;
    const std::filesystem::path base(dir.Path());
    IniProfile portable;
    Win32Profile windows;
    const std::uint64_t seed = Seed();
    Rng rng(seed);
    int operations = 0, writes = 0, reads = 0;
    for (int c = 0; c < kCases; ++c) {
        const Kind kind = static_cast<Kind>(rng.Below(5));
        const bool missingFolder = rng.Percent(3), noContent = missingFolder || rng.Percent(8);
        const bool bomless = noContent || kind == Kind::Ansi || kind == Kind::Utf8NoBom;
        Generator gen(rng, kind, bomless && !ansiIs1252);
        // Fresh names for every case: Wine may not see a file change within one timestamp tick.
        const std::string folder = missingFolder ? "missing" + std::to_string(c) + "/" : "";
        const auto ours = base / (folder + "case" + std::to_string(c) + "_portable.ini");
        const auto theirs = base / (folder + "case" + std::to_string(c) + "_windows.ini");
        const std::string initial = noContent ? std::string() : gen.File();
        if (!initial.empty() || rng.Percent(50)) {  // no content: an empty file or none at all
            std::ofstream(ours, std::ios::binary) << initial;
            std::ofstream(theirs, std::ios::binary) << initial;
        }
        const std::u16string ourName = ours.u16string(), theirName = theirs.u16string();
        std::vector<std::u16string> history;  // values written before, to write them again unchanged
        std::string log;
        for (int op = 0; op < 8; ++op) {
            ++operations;
            const auto [section, key] = gen.Names();
            const auto context = [&] {
                return "seed " + std::to_string(seed) + ", case " + std::to_string(c) + " (" + kKindNames[int(kind)] +
                       "), operation " + std::to_string(op) + "\nfile before: " + Escaped(initial) + "\n" + log;
            };
            // What the key holds now, to aim buffer sizes at its length and to write it unchanged.
            const std::u16string current = portable.ReadString(ourName, section, key, 1 << 16);
            if (rng.Percent(55)) {
                ++reads;
                static const std::vector<std::size_t> sizes = {0, 1, 2, 3, 4, 5, 8, 16, 100, 1024, 65536,
                                                             static_cast<std::size_t>(-1)};
                const std::size_t chars = rng.Percent(50) ? rng.Pick(sizes) : current.size() + rng.Below(4);
                log += "read [" + Escaped(section) + "] " + Escaped(key) + " into " + std::to_string(chars) + "\n";
                const std::u16string a = portable.ReadString(ourName, section, key, chars);
                const std::u16string b = windows.ReadString(theirName, section, key, chars);
                if (a != b) {
                    ADD_FAILURE() << context() << "portable read: " << Escaped(a) << "\nWindows read:  " << Escaped(b);
                    break;
                }
            } else {
                ++writes;
                const std::u16string value = rng.Percent(15)                         ? gen.Pad() + current
                                             : !history.empty() && rng.Percent(15) ? rng.Pick(history)
                                                                                   : gen.Pad() + gen.Value(true) + gen.Pad();
                history.push_back(value);
                gen.Remember(section, key);
                log += "write [" + Escaped(section) + "] " + Escaped(key) + " = " + Escaped(value) + "\n";
                const bool a = portable.WriteString(ourName, section, key, value);
                const bool b = windows.WriteString(theirName, section, key, value);
                const std::string bytesA = Contents(ours), bytesB = Contents(theirs);
                if (a != b || bytesA != bytesB) {
                    ADD_FAILURE() << context() << "portable: " << a << " " << Escaped(bytesA) << "\nWindows:  " << b << " "
                                  << Escaped(bytesB);
                    break;
                }
            }
        }
    }
    std::printf("%d differential operations (%d reads, %d writes), seed %llu\n", operations, reads, writes,
                static_cast<unsigned long long>(seed));
    EXPECT_GE(operations, 200);
    EXPECT_GE(writes, 100);
}

// Inputs the INI fuzzer found, where a NUL or a Ctrl-Z inside a line makes names differ before and
// after a rewrite: both engines must still write the same bytes and read the same values.
TEST(IniDifferential, LinesCutByNulOrCtrlZMatchWindows) {
    struct Case {
        std::string initial;
        std::u16string section, key, value;
    };
    const std::vector<Case> cases = {
        {std::string("\xEF\x1A\x00", 3), u"", u"\u00EF", u""},
        {std::string("\xEF\x1A\x00", 3), u"", u"\u00EF", u"x"},
        {std::string("[s]\r\nk\x1A\x00=1\r\n", 12), u"s", u"k", u"2"},
        {std::string("[s\x00]\r\nk=1\r\n", 11), u"s", u"k", u"3"},
        {std::string("\xA5\x09\x00=old\r\n", 9), u"", u"\u00A5", u"new"},
    };
    ScratchDir dir;
    IniProfile portable;
    Win32Profile windows;
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const Case& one = cases[c];
        const auto ours = std::filesystem::path(dir.Path()) / ("cut" + std::to_string(c) + "_portable.ini");
        const auto theirs = std::filesystem::path(dir.Path()) / ("cut" + std::to_string(c) + "_windows.ini");
        std::ofstream(ours, std::ios::binary) << one.initial;
        std::ofstream(theirs, std::ios::binary) << one.initial;
        SCOPED_TRACE("case " + std::to_string(c) + ": " + Escaped(one.initial));
        EXPECT_EQ(portable.WriteString(ours.u16string(), one.section, one.key, one.value),
                  windows.WriteString(theirs.u16string(), one.section, one.key, one.value));
        EXPECT_EQ(Escaped(Contents(ours)), Escaped(Contents(theirs)));
        EXPECT_EQ(Escaped(portable.ReadString(ours.u16string(), one.section, one.key, 100)),
                  Escaped(windows.ReadString(theirs.u16string(), one.section, one.key, 100)));
    }
}

}  // namespace

// A save that fails part way leaves the file byte for byte, one that succeeds replaces it, and
// neither leaves its copy behind; with Windows' profile functions and with the portable engine.
TEST(IniDifferential, WholeSavesLeaveTheFileAsItWasOrReplaceIt) {
    ScratchDir dir;
    IniProfile portable;
    Win32Profile windows;
    for (ProfilePort* profile : std::initializer_list<ProfilePort*>{&portable, &windows}) {
        const auto path = std::filesystem::path(dir.Path()) / (profile == &windows ? "windows.ini" : "portable.ini");
        const std::string original = "[a]\r\nk=1\r\nj=1\r\n";
        std::ofstream(path, std::ios::binary) << original;
        const std::u16string file = path.u16string();
        const auto copy = std::filesystem::path(SavingCopyOf(file));
        SCOPED_TRACE(path.filename().string());

        EXPECT_FALSE(profile->SaveWhole(file, [&](const std::u16string& target) {
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(target)));
            EXPECT_TRUE(profile->WriteString(target, u"a", u"k", u"2"));
            return false;  // the next key failed
        }));
        EXPECT_EQ(Contents(path), original);
        EXPECT_FALSE(std::filesystem::exists(copy));

        EXPECT_TRUE(profile->SaveWhole(file, [&](const std::u16string& target) {
            return profile->WriteString(target, u"a", u"k", u"3") && profile->WriteString(target, u"b", u"m", u"4");
        }));
        EXPECT_EQ(profile->ReadString(file, u"a", u"k", 8), u"3");
        EXPECT_EQ(profile->ReadString(file, u"b", u"m", 8), u"4");
        EXPECT_EQ(profile->ReadString(file, u"a", u"j", 8), u"1");
        EXPECT_FALSE(std::filesystem::exists(copy));

        // A file not there yet comes into being whole.
        const std::u16string fresh = file + u".new";
        EXPECT_TRUE(profile->SaveWhole(fresh, [&](const std::u16string& target) {
            return profile->WriteString(target, u"c", u"n", u"5");
        }));
        EXPECT_EQ(profile->ReadString(fresh, u"c", u"n", 8), u"5");
    }
}
