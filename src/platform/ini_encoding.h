// Byte encodings of INI files, detected, read and written as Windows' profile functions do.
#pragma once

#include <string>
#include <string_view>

enum class IniEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// Detects the encoding from the byte order mark (UTF-8, UTF-16LE, UTF-16BE) and decodes the
// bytes after it. Files without a mark are in the ANSI code page, Windows-1252 here: the code
// page of the Wine prefix the program is tested in. Invalid UTF-8 becomes U+FFFD the way
// Windows replaces it; an odd trailing byte of a UTF-16 file is ignored.
std::u16string DecodeIniBytes(std::string_view bytes, IniEncoding& encoding);

// The bytes of text in encoding, its byte order mark first (ANSI has none). Characters that
// Windows-1252 lacks get Windows' best-fit byte, or '?' when there is none.
std::string EncodeIniText(std::u16string_view text, IniEncoding encoding);
