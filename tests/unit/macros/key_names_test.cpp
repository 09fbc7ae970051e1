#include <gtest/gtest.h>

#include "macros/event_lines.h"
#include "macros/key_names.h"

namespace {

TEST(KeyNameTest, NamesInBothLanguages) {
    for (const LanguageMode lang : {LanguageMode::English, LanguageMode::Chinese}) {
        EXPECT_EQ(KeyName(49, lang), u"1");
        EXPECT_EQ(KeyName(48, lang), u"0");
        EXPECT_EQ(KeyName(97, lang), u"NUMPAD1");
        EXPECT_EQ(KeyName(105, lang), u"NUMPAD9");
        EXPECT_EQ(KeyName(188, lang), u",");
        EXPECT_EQ(KeyName(65, lang), u"A");
        EXPECT_EQ(KeyName(90, lang), u"Z");
        EXPECT_EQ(KeyName(112, lang), u"F1");
        EXPECT_EQ(KeyName(135, lang), u"F24");
        EXPECT_EQ(KeyName(44, lang), u"SNAPSHOT");
        EXPECT_EQ(KeyName(165, lang), u"RMENU");
        EXPECT_EQ(KeyName(192, lang), u"`~");
        EXPECT_EQ(KeyName(220, lang), u"\\|");
        EXPECT_EQ(KeyName(222, lang), u" ' ");
        EXPECT_EQ(KeyName(240, lang), u"Left_Key");
        EXPECT_EQ(KeyName(241, lang), u"Right_Key");
        EXPECT_EQ(KeyName(242, lang), u"Middle_Key");
    }
    for (const std::uint8_t unnamed : {0, 255, 22, 94, 136, 243, 7}) {
        EXPECT_EQ(KeyName(unnamed, LanguageMode::English), u"Not Available") << int(unnamed);
        EXPECT_EQ(KeyName(unnamed, LanguageMode::Chinese), u"不可录制") << int(unnamed);
    }
}

TEST(EventLinesTest, AMacroOfNEventsShowsTwoNMinusOneLines) {
    MacroRecord m = NewMacro(u"x");
    m.eventCount = 4;
    m.events[0] = {240, kActionPress, 0};
    m.events[1] = {65, kActionRelease, 65535};
    m.events[2] = {255, 7, 30};
    m.events[3] = {13, kActionPress, 999};  // the last delay has no line
    m.events[4] = {66, kActionPress, 5};    // beyond the count: never shown
    const std::vector<EventLine> lines = AllEventLines(m, LanguageMode::English);
    const std::vector<EventLine> expected = {
        {u"[↓]Left_Key", EventLineKind::Press}, {u"    0ms", EventLineKind::Delay},
        {u"[↑]A", EventLineKind::Release},      {u"    65535ms", EventLineKind::Delay},
        {u"Not Available", EventLineKind::Other}, {u"    30ms", EventLineKind::Delay},
        {u"[↓]RETURN", EventLineKind::Press},
    };
    EXPECT_EQ(lines, expected);

    EventLineCounters counters;
    for (const EventLine& line : lines) counters.Count(line);
    EXPECT_EQ(counters.pressLines, 2);
    EXPECT_EQ(counters.releaseLines, 1);

    m.eventCount = 1;
    EXPECT_EQ(AllEventLines(m, LanguageMode::Chinese), (std::vector<EventLine>{{u"[↓]Left_Key", EventLineKind::Press}}));
    m.eventCount = 0;
    EXPECT_TRUE(AllEventLines(m, LanguageMode::Chinese).empty());

    // The recorder adds one event at a time: its delay line, then its own.
    EXPECT_EQ(EventLinesOf(m, 3, LanguageMode::Chinese),
              (std::vector<EventLine>{{u"    30ms", EventLineKind::Delay}, {u"[↓]RETURN", EventLineKind::Press}}));
    EXPECT_EQ(EventLinesOf(m, 2, LanguageMode::Chinese)[1].text, u"不可录制");
    EXPECT_TRUE(EventLinesOf(m, 255, LanguageMode::English).empty());
    EXPECT_TRUE(EventLinesOf(m, -1, LanguageMode::English).empty());
    m.eventCount = 255;
    EXPECT_EQ(AllEventLines(m, LanguageMode::English).size(), 509u);
}

}  // namespace
