// Small text helpers shared by the portable core: UTF-8/UTF-16 conversion and the integer
// conversions that the program's files use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Decodes as Windows does: a broken sequence becomes U+FFFD, a sequence cut off by the end of
// the text swallows the rest.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// Like _wtoi: leading white space, an optional sign, decimal digits; anything else ends the
// number. An empty or non-numeric text gives 0; values beyond int are clamped.
int WtoI(std::u16string_view text);

// "%d" of value, as UTF-16.
std::u16string DecimalText(long long value);
