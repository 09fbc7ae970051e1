#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/macro_file.h"
#include "platform/ini_profile.h"
#include "platform/text.h"
#include "support/memory_profile.h"
#include "support/recording_messages.h"
#include "temp_dir.h"

namespace {

std::u16string Groups(std::initializer_list<int> bytes) {
    std::u16string out;
    for (int b : bytes) {
        const std::string s = (b < 10 ? "00" : b < 100 ? "0" : "") + std::to_string(b);
        out += Utf16FromUtf8(s);
    }
    return out;
}

std::u16string Zeros(int groups) { return std::u16string(3 * groups, u'0'); }

MacroRecord TwoEventMacro() {
    MacroRecord m = NewMacro(u"M1");
    m.eventCount = 2;
    m.events[0] = {0x41, kActionPress, 50};
    m.events[1] = {0x41, kActionRelease, 30};
    return m;
}

// A record that uses every part of the image: a name with units after its terminator, a repeat
// count with both bytes set, events beyond the event count, the largest delay.
MacroRecord BusyRecord(int seed) {
    MacroRecord m;
    m.SetName(u"宏" + DecimalText(seed));
    m.name[15] = static_cast<char16_t>(0xABCD);  // after the terminator: stored, never shown
    m.repeatMode = 1;
    m.repeatCount = static_cast<std::uint16_t>(0x1234 + seed);
    m.eventCount = 3;
    for (int k = 0; k < kEventSlots; ++k) {
        m.events[k] = {static_cast<std::uint8_t>(k + seed), static_cast<std::uint8_t>(k % 3),
                       static_cast<std::uint16_t>(k * 257 + seed)};
    }
    m.events[254].delay = 65535;
    return m;
}

void SetMacros(MacroStore& store, const std::vector<MacroRecord>& records) {
    store.Edit([&](MacroStoreData& d) {
        for (std::size_t i = 0; i < records.size(); ++i) d.records[i] = records[i];
        d.count = static_cast<std::int16_t>(records.size());
    });
}

struct MacroFileTest : ::testing::Test {
    TempDir dir;
    IniProfile ini;
    RecordingMessages messages;
    MacroStore store;
    std::u16string path = dir.File("Macro_EN.dat");
};

TEST(MacroValueTest, ValuesOfTheEstablishedExamples) {
    const std::u16string twoEvents = EncodeMacroValue(EncodeRecord(TwoEventMacro()));
    EXPECT_EQ(twoEvents, Groups({77, 0, 49, 0}) + Zeros(36) + Groups({0, 1, 0, 2}) + Groups({65, 1, 50, 0}) +
                             Groups({65, 2, 30, 0}) + Zeros(1012));
    EXPECT_EQ(twoEvents.size(), kMacroValueChars);

    const std::u16string empty = EncodeMacroValue(EncodeRecord(NewMacro(u"")));
    EXPECT_EQ(empty, Zeros(41) + Groups({1, 0, 0}) + Zeros(1020));

    // Every byte value takes exactly three digits.
    MacroImage image{};
    image[0] = 7;
    image[1] = 42;
    image[2] = 255;
    EXPECT_EQ(EncodeMacroValue(image).substr(0, 9), u"007042255");
}

TEST(MacroValueTest, DamagedValuesDecodeWithoutReadingPastThem) {
    // A short value: what is there decodes, the rest is zero.
    MacroImage image = DecodeMacroValue(u"077000049");
    EXPECT_EQ(image[0], 77);
    EXPECT_EQ(image[2], 49);
    for (std::size_t i = 3; i < kMacroImageSize; ++i) ASSERT_EQ(image[i], 0) << i;

    // Numbers above 255 keep their low 8 bits; a group is converted like _wtoi.
    image = DecodeMacroValue(u"999300 12-0112aabc5");
    EXPECT_EQ(image[0], 999 & 0xFF);
    EXPECT_EQ(image[1], 300 & 0xFF);
    EXPECT_EQ(image[2], 12);   // " 12"
    EXPECT_EQ(image[3], 255);  // "-01" is -1
    EXPECT_EQ(image[4], 12);   // "12a"
    EXPECT_EQ(image[5], 0);    // "abc"
    EXPECT_EQ(image[6], 5);    // a last group of one character
}

TEST_F(MacroFileTest, RecordImagesSurviveSaveAndLoadByteForByte) {
    const std::vector<MacroRecord> records = {BusyRecord(1), TwoEventMacro(), NewMacro(u"")};
    SetMacros(store, records);
    // Slots beyond the count hold something of their own that a load must leave alone.
    store.Edit([](MacroStoreData& d) { d.records[5] = BusyRecord(5); });
    ASSERT_TRUE(SaveMacroFile(ini, store, path));

    MacroStore loaded;
    loaded.Edit([](MacroStoreData& d) {
        d.records[5] = BusyRecord(9);
        d.selected = 7;
    });
    LoadMacroFile(ini, messages, loaded, path);
    EXPECT_TRUE(messages.shown.empty());
    const MacroStoreData data = loaded.Copy();
    ASSERT_EQ(data.count, 3);
    EXPECT_EQ(data.selected, 2);
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(EncodeRecord(data.records[m]), EncodeRecord(records[m])) << m;
        EXPECT_EQ(data.records[m], records[m]) << m;
    }
    EXPECT_EQ(data.records[5], BusyRecord(9));
    EXPECT_EQ(data.records[0].Name(), u"宏1");
    EXPECT_EQ(ini.ReadString(path, u"Macros", u"macroNum", 10), u"3");
    EXPECT_EQ(ini.ReadString(path, u"Macros", u"1", 4000), EncodeMacroValue(EncodeRecord(TwoEventMacro())));
}

TEST_F(MacroFileTest, SavingFewerMacrosLeavesTheOldKeysButLoadsOnlyTheCount) {
    SetMacros(store, {BusyRecord(1), BusyRecord(2), BusyRecord(3), BusyRecord(4), BusyRecord(5)});
    ASSERT_TRUE(SaveMacroFile(ini, store, path));
    store.Edit([](MacroStoreData& d) { d.count = 3; });
    ASSERT_TRUE(SaveMacroFile(ini, store, path));

    EXPECT_EQ(ini.ReadString(path, u"Macros", u"3", 4000).size(), kMacroValueChars);
    EXPECT_EQ(ini.ReadString(path, u"Macros", u"4", 4000).size(), kMacroValueChars);
    MacroStore loaded;
    LoadMacroFile(ini, messages, loaded, path);
    EXPECT_EQ(loaded.Count(), 3);
    EXPECT_FALSE(loaded.Snapshot(3).has_value());
    EXPECT_EQ(loaded.Snapshot(2), BusyRecord(3));
}

TEST_F(MacroFileTest, MissingFileOrCountGivesNoMacros) {
    SetMacros(store, {BusyRecord(1), BusyRecord(2)});
    store.Edit([](MacroStoreData& d) { d.selected = 1; });
    LoadMacroFile(ini, messages, store, dir.File("absent.dat"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], u"找不到配置文件");
    MacroStoreData data = store.Copy();
    EXPECT_EQ(data.count, 0);
    EXPECT_EQ(data.selected, 0);
    EXPECT_EQ(data.records[1], BusyRecord(2));  // records beyond the count stay as they were

    for (const char* text : {"[Macros]\r\nmacroNum=0\r\n0=077\r\n", "[Macros]\r\n0=077\r\n",
                             "[Other]\r\nmacroNum=2\r\n"}) {
        SetMacros(store, {BusyRecord(1)});
        dir.Write("Macro_EN.dat", text);
        LoadMacroFile(ini, messages, store, path);
        EXPECT_EQ(store.Count(), 0) << text;
        EXPECT_EQ(store.Copy().selected, 0) << text;
    }
    EXPECT_EQ(messages.shown.size(), 1u);  // the file exists from here on
}

TEST_F(MacroFileTest, CountsOutsideTheStoreAreBounded) {
    MemoryProfile memory;
    dir.Write("Macro_EN.dat", "");
    const std::u16string value = EncodeMacroValue(EncodeRecord(TwoEventMacro()));
    for (int m = 0; m < 20; ++m) memory.values[{path, u"Macros", DecimalText(m)}] = value;

    struct Case {
        const char16_t* count;
        int macros;
    };
    for (const Case c : {Case{u"13", 12}, Case{u"99999", 12}, Case{u"12", 12}, Case{u"-1", 0},
                         Case{u"-32768", 0}, Case{u"x3", 0}, Case{u" 4", 4}, Case{u"2abc", 2}}) {
        memory.values[{path, u"Macros", u"macroNum"}] = c.count;
        LoadMacroFile(memory, messages, store, path);
        EXPECT_EQ(store.Count(), c.macros) << Utf8FromUtf16(c.count);
        EXPECT_EQ(store.Copy().selected, c.macros == 0 ? 0 : c.macros - 1);
    }
    // A count beyond the records held: only those present, so no empty macro shows.
    for (int m = 3; m < 20; ++m) memory.values.erase({path, u"Macros", DecimalText(m)});
    memory.values[{path, u"Macros", u"macroNum"}] = u"7";
    LoadMacroFile(memory, messages, store, path);
    EXPECT_EQ(store.Count(), 3);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MacroFileTest, FailedWritesAreReported) {
    MemoryProfile memory;
    SetMacros(store, {BusyRecord(1), BusyRecord(2)});
    EXPECT_TRUE(SaveMacroFile(memory, store, path));
    EXPECT_EQ(memory.writes, 3);
    memory.failWrites = true;
    EXPECT_FALSE(SaveMacroFile(memory, store, path));

    // A record that cannot be written leaves the count of the last good save.
    memory.failWrites = false;
    SetMacros(store, {BusyRecord(1), BusyRecord(2), BusyRecord(3)});
    memory.failingKeys = {{u"Macros", u"1"}};
    EXPECT_FALSE(SaveMacroFile(memory, store, path));
    EXPECT_EQ(memory.Value(path, u"Macros", u"macroNum"), "2");
}

TEST_F(MacroFileTest, FactoryResetNeverReplacesTheUsersMacrosWithNothing) {
    // Program folder "prog" with its skins folder; on this platform the backslashes are part of
    // the file names inside the temp dir.
    const std::u16string programDir = dir.File("prog");
    const std::u16string skinsDir = programDir + u"\\skins";
    const std::u16string userFile = programDir + u"\\Macro_CN.dat";
    SetMacros(store, {BusyRecord(1), BusyRecord(2)});
    ASSERT_TRUE(SaveMacroFile(ini, store, userFile));

    EXPECT_FALSE(ResetMacrosToDefaults(ini, messages, store, programDir, skinsDir, LanguageMode::Chinese));
    EXPECT_EQ(messages.shown, std::vector<std::u16string>{u"找不到配置文件"});
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(ini.ReadString(userFile, u"Macros", u"macroNum", 10), u"2");

    MacroStore defaults;
    SetMacros(defaults, {TwoEventMacro()});
    ASSERT_TRUE(SaveMacroFile(ini, defaults, DefaultMacroFilePath(skinsDir, LanguageMode::Chinese)));
    EXPECT_TRUE(ResetMacrosToDefaults(ini, messages, store, programDir, skinsDir, LanguageMode::Chinese));
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Snapshot(0), TwoEventMacro());
    MacroStore reread;
    LoadMacroFile(ini, messages, reread, userFile);
    EXPECT_EQ(reread.Count(), 1);
    EXPECT_EQ(reread.Snapshot(0), TwoEventMacro());
}

}  // namespace
