// Unit tests of the portable INI engine on temporary files: lookup, writing and encodings.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_profile.h"
#include "platform/profile_snapshot.h"
#include "platform/text.h"
#include "temp_dir.h"

namespace {

// Bytes of a literal, NULs included.
template <std::size_t N>
std::string B(const char (&s)[N]) {
    return std::string(s, N - 1);
}

class IniProfileTest : public ::testing::Test {
protected:
    // A file holding bytes; returns its name as the port takes it.
    std::u16string File(const std::string& name, const std::string& bytes) {
        dir_.Write(name, bytes);
        return dir_.File(name);
    }
    std::u16string Name(const std::string& name) { return dir_.File(name); }
    std::string Bytes(const std::string& name) { return dir_.Read(name); }
    std::u16string Read(const std::u16string& f, const std::u16string& s, const std::u16string& k,
                        std::size_t chars = 256) {
        return ini_.ReadString(f, s, k, chars);
    }

    TempDir dir_;
    IniProfile ini_;
};

TEST_F(IniProfileTest, LooksUpNamesWithoutCaseOrSurroundingSpace) {
    const auto f = File("a.ini",
                        "top=1\r\n[Main]\r\n  Key One \t=  spaced value  \r\n[ Padded ]\r\nk=2\r\n"
                        "[x]y]tail\r\nz=3\r\n[Caf\xe9]\r\n\xe9=4\r\n");
    EXPECT_EQ(Read(f, u"main", u"KEY ONE"), u"spaced value");
    EXPECT_EQ(Read(f, u" MAIN\t", u"\tkey one "), u"spaced value");
    EXPECT_EQ(Read(f, u"Padded", u"k"), u"2");
    EXPECT_EQ(Read(f, u"x]y", u"z"), u"3");  // the header runs to the last ']'
    EXPECT_EQ(Read(f, u"", u"top"), u"1");   // keys before the first header
    EXPECT_EQ(Read(f, u"Caf\u00e9", u"\u00e9"), u"4");
    EXPECT_EQ(Read(f, u"CAF\u00c9", u"\u00e9"), u"");  // only ASCII letters fold
    EXPECT_EQ(Read(f, u"Main", u"missing"), u"");
    EXPECT_EQ(Read(f, u"Missing", u"k"), u"");
    EXPECT_EQ(Read(Name("none.ini"), u"Main", u"Key One"), u"");
}

TEST_F(IniProfileTest, DuplicatesCommentsAndOddLines) {
    const auto f = File("d.ini",
                        "[S]\nk=first\nbare\n;note=c\n=e1\n=e2\nk=second\n\x1a\x0b v \x0c= \x1a w \x1a\r"
                        "[s]\nk=other\nonly=here\n[broken\r\n[]\nq=5\n");
    EXPECT_EQ(Read(f, u"S", u"k"), u"first");
    EXPECT_EQ(Read(f, u"S", u"only"), u"");  // the second [s] is never searched
    EXPECT_EQ(Read(f, u"S", u"bare"), u"");
    EXPECT_EQ(Read(f, u"S", u";note"), u"c");  // comments are just keys
    EXPECT_EQ(Read(f, u"S", u""), u"e1");
    EXPECT_EQ(Read(f, u"s", u"[broken"), u"");
    EXPECT_EQ(Read(f, u"", u"q"), u"");  // "[]" loses to the keys above the first header
    EXPECT_EQ(Read(f, u"S", u"v"), u"w");  // ^Z counts as white space
}

TEST_F(IniProfileTest, BufferLimitAndQuotes) {
    const auto f = File("q.ini", "[Q]\nv=abcdef\nd=\"abc\"\ns='abc'\nodd=\"abc'\nin=\"a\"b\"\none=\"\nnone=\"\"\n");
    EXPECT_EQ(Read(f, u"Q", u"v", 0), u"");
    EXPECT_EQ(Read(f, u"Q", u"v", 1), u"");
    EXPECT_EQ(Read(f, u"Q", u"v", 4), u"abc");
    EXPECT_EQ(Read(f, u"Q", u"v", 7), u"abcdef");
    EXPECT_EQ(Read(f, u"Q", u"v", static_cast<std::size_t>(-1)), u"abcdef");
    EXPECT_EQ(Read(f, u"Q", u"d"), u"abc");
    EXPECT_EQ(Read(f, u"Q", u"s"), u"abc");
    EXPECT_EQ(Read(f, u"Q", u"odd"), u"\"abc'");
    EXPECT_EQ(Read(f, u"Q", u"in"), u"a\"b");
    EXPECT_EQ(Read(f, u"Q", u"one"), u"\"");
    EXPECT_EQ(Read(f, u"Q", u"none"), u"");
    EXPECT_EQ(Read(f, u"Q", u"none", 1), u"");
    // Windows cuts the last copied character, whether or not it is the closing quote.
    EXPECT_EQ(Read(f, u"Q", u"d", 5), u"abc");
    EXPECT_EQ(Read(f, u"Q", u"d", 4), u"ab");
    EXPECT_EQ(Read(f, u"Q", u"d", 3), u"ab");
}

TEST_F(IniProfileTest, WritesCreateAppendAndReplace) {
    const auto f = Name("new.ini");
    EXPECT_TRUE(ini_.WriteString(f, u"  Sec ", u" Key ", u" \tv1  "));
    EXPECT_EQ(Bytes("new.ini"), "[Sec ]\r\nKey =v1  \r\n");  // new names keep trailing space
    EXPECT_EQ(Read(f, u"sec", u"key"), u"v1");
    EXPECT_TRUE(ini_.WriteString(f, u"Other", u"a", u"1"));
    EXPECT_TRUE(ini_.WriteString(f, u"SEC", u"second", u"2"));
    EXPECT_TRUE(ini_.WriteString(f, u"sec", u"KEY", u"v2"));
    EXPECT_TRUE(ini_.WriteString(f, u"", u"top", u"0"));
    EXPECT_EQ(Bytes("new.ini"), "top=0\r\n[Sec]\r\nKey=v2\r\nsecond=2\r\n[Other]\r\na=1\r\n");
    // Newlines in a value are written as they are and split the line when read back.
    EXPECT_TRUE(ini_.WriteString(f, u"Other", u"a", u"x\ry=z"));
    EXPECT_EQ(Read(f, u"Other", u"y"), u"z");
    EXPECT_FALSE(ini_.WriteString(Name("no/such/dir.ini"), u"S", u"k", u"v"));
    EXPECT_FALSE(ini_.WriteString(Utf16FromUtf8(dir_.Path("").string()), u"S", u"k", u"v"));
}

TEST_F(IniProfileTest, RewriteKeepsLinesButNotLayout) {
    const std::string original = "; c\r\n\r\n[S]\r\n k = v \r\nbare\r\n\r\n[S]\r\nk=dup\r\n=a\r\n=b\r\n[]\r\nx=1\r\n";
    const auto f = File("r.ini", original);
    EXPECT_TRUE(ini_.WriteString(f, u"s", u"K", u"v"));  // same value: not rewritten at all
    EXPECT_EQ(Bytes("r.ini"), original);
    EXPECT_TRUE(ini_.WriteString(f, u"s", u"bare", u"now"));
    EXPECT_EQ(Bytes("r.ini"), "; c\r\n[S]\r\nk=v\r\nbare=now\r\n[S]\r\nk=dup\r\n=a\r\nx=1\r\n");
}

TEST_F(IniProfileTest, KeepsEachEncoding) {
    const auto le = File("le.ini", B("\xFF\xFE[\0S\0]\0\n\0k\0=\0-N"));
    EXPECT_EQ(Read(le, u"S", u"k"), u"\u4e2d");
    EXPECT_TRUE(ini_.WriteString(le, u"S", u"j", u"\u00e9"));
    EXPECT_EQ(Bytes("le.ini"), B("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0-N\r\0\n\0j\0=\0\xE9\0\r\0\n\0"));

    const auto be = File("be.ini", B("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0a"));
    EXPECT_TRUE(ini_.WriteString(be, u"S", u"k", u"b"));
    EXPECT_EQ(Bytes("be.ini"), B("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0b\0\r\0\n"));

    const auto u8 = File("u8.ini", "\xEF\xBB\xBF[S]\nk=\xE4\xB8\xAD\n");
    EXPECT_EQ(Read(u8, u"S", u"k"), u"\u4e2d");
    EXPECT_TRUE(ini_.WriteString(u8, u"S", u"j", u"\u00e9\U0001F600"));
    EXPECT_EQ(Bytes("u8.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE4\xB8\xAD\r\nj=\xC3\xA9\xF0\x9F\x98\x80\r\n");

    // Without a mark the ANSI code page (Windows-1252) applies, also to UTF-8 bytes.
    const auto ansi = File("ansi.ini", "[S]\nk=\xE4\xB8\xAD\x80\x81\n");
    EXPECT_EQ(Read(ansi, u"S", u"k"), u"\u00e4\u00b8\u00ad\u20ac\u0081");
    EXPECT_TRUE(ini_.WriteString(ansi, u"S", u"j", u"\u0100\u2013\u4e2d\uff46\U0001F600"));
    EXPECT_EQ(Bytes("ansi.ini"), "[S]\r\nk=\xE4\xB8\xAD\x80\x81\r\nj=A\x96?f??\r\n");
}

TEST_F(IniProfileTest, DamagedBytesReadLikeWindows) {
    const auto u8 = File("bad8.ini", "\xEF\xBB\xBF[S]\na=\xE4\xB8z\nb=\xC0\x80z\nc=\xED\xA0\x80z\nd=\xF4\x90\x80\x80z\n"
                                     "e=\xE0\x80\x80z\nf=\xF0\x9F\x98\x80\ng=\xE4z");
    EXPECT_EQ(Read(u8, u"S", u"a"), u"\ufffdz");
    EXPECT_EQ(Read(u8, u"S", u"b"), u"\ufffd\ufffdz");
    EXPECT_EQ(Read(u8, u"S", u"c"), u"\ufffd\ufffdz");
    EXPECT_EQ(Read(u8, u"S", u"d"), u"\ufffd\ufffd\ufffdz");
    EXPECT_EQ(Read(u8, u"S", u"e"), u"\ufffd\ufffdz");
    EXPECT_EQ(Read(u8, u"S", u"f"), u"\U0001F600");
    EXPECT_EQ(Read(u8, u"S", u"g"), u"\ufffd");  // a sequence cut off by the end takes the rest

    const auto nul = File("nul.ini", B("[S]\nk=a\0b\nn\0x=1\n[T \0U]\nz=2\n"));
    EXPECT_EQ(Read(nul, u"S", u"k"), u"a");
    EXPECT_EQ(Read(nul, u"S", u"n"), u"1");
    EXPECT_EQ(Read(nul, u"T", u"z"), u"");  // the name is "T ", which no trimmed lookup matches

    const auto odd = File("odd.ini", B("\xFF\xFE[\0S\0]\0\n\0k\0=\0a\0b"));
    EXPECT_EQ(Read(odd, u"S", u"k"), u"a");
    EXPECT_EQ(Read(File("bom.ini", "\xFF\xFE"), u"", u""), u"");
}

}  // namespace

namespace {

// The snapshot answers as the engine does, from one read of each file, and sees its own writes.
TEST_F(IniProfileTest, SnapshotAnswersAsTheFileAndSeesItsOwnWrites) {
    const auto f = File("s.ini", "\xff\xfe" + B("[\0S\0]\0\r\0\n\0k\0=\0\"\0v\0\"\0\r\0\n\0"));
    ProfileSnapshot snapshot(ini_);
    EXPECT_EQ(snapshot.ReadString(f, u"s", u"K", 256), Read(f, u"s", u"K"));
    EXPECT_EQ(snapshot.ReadString(f, u"S", u"k", 1), u"");
    EXPECT_EQ(snapshot.ReadString(f, u"S", u"k", 0), u"");
    EXPECT_EQ(snapshot.ReadString(Name("none.ini"), u"S", u"k", 256), u"");

    // Written through the snapshot: in the file, and read back at once.
    EXPECT_TRUE(snapshot.WriteString(f, u"S", u"k", u"new"));
    EXPECT_EQ(Read(f, u"S", u"k"), u"new");
    EXPECT_EQ(snapshot.ReadString(f, u"S", u"k", 256), u"new");
    EXPECT_TRUE(snapshot.WriteString(Name("none.ini"), u"S", u"k", u"made"));
    EXPECT_EQ(snapshot.ReadString(Name("none.ini"), u"S", u"k", 256), u"made");
}

}  // namespace
