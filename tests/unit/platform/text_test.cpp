#include <gtest/gtest.h>

#include <climits>

#include "platform/text.h"

TEST(TextTest, WtoIReadsLikeTheCRuntime) {
    EXPECT_EQ(WtoI(u""), 0);
    EXPECT_EQ(WtoI(u"abc"), 0);
    EXPECT_EQ(WtoI(u"  \t-12abc"), -12);
    EXPECT_EQ(WtoI(u"+7"), 7);
    EXPECT_EQ(WtoI(u"- 7"), 0);
    EXPECT_EQ(WtoI(u"0042"), 42);
    EXPECT_EQ(WtoI(u"99999999999999"), INT_MAX);
    EXPECT_EQ(WtoI(u"-99999999999999"), INT_MIN);
    EXPECT_EQ(WtoI(u"-2147483648"), INT_MIN);
}

TEST(TextTest, Utf8AndUtf16RoundTripAndRejectBrokenInput) {
    const std::u16string mixed = u"K-R7T游戏鼠标 \U0001F5B1";
    EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(mixed)), mixed);
    EXPECT_EQ(Utf16FromUtf8("x\xE6\xB8"), u"x\uFFFD");  // a cut sequence ends the text
    EXPECT_EQ(Utf16FromUtf8("a\xC0\x80"), u"a\uFFFD\uFFFD");  // overlong NUL is not a character
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(DecimalText(-305), u"-305");
}

TEST(TextTest, CaseFoldingTouchesOnlyAsciiLetters) {
    EXPECT_TRUE(EqualIgnoringAsciiCase(u"\\\\?\\HID#VID_18F8&Col02", u"\\\\?\\hid#vid_18f8&col02"));
    EXPECT_FALSE(EqualIgnoringAsciiCase(u"Ä", u"ä"));    // Latin-1 letters keep their case
    EXPECT_FALSE(EqualIgnoringAsciiCase(u"@[", u"`{"));  // neighbours of A and Z are no letters
    EXPECT_FALSE(EqualIgnoringAsciiCase(u"abc", u"ab"));
    EXPECT_EQ(AsciiLower('Q'), 'q');
}
