// Small text helpers shared by the portable core: UTF-8/UTF-16 conversion, the integer
// conversions that the program's files use and the ASCII case folding of names.
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

// A..Z become a..z; every other character stays, so a name differing in "Ä"/"ä" stays different,
// as Windows compares device paths and Wine compares INI names.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// text without the characters of blanks at either end.
std::u16string_view TrimmedOf(std::u16string_view text, std::u16string_view blanks);

// The file name at the end of path: what follows its last '\' or '/', all of it without one.
std::u16string_view FileNameOf(std::u16string_view path);

// Equal after AsciiLower of every character.
bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
