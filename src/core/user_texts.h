// Texts the user sees that more than one part of the program shows, defined once.
#pragma once

// A file the program reads at start-up or on a reset is missing (skin descriptions, macros).
inline constexpr char16_t kMissingFileMessage[] = u"找不到配置文件";

// In front of a key press and a key release: the macro editor's event lines and counters.
inline constexpr char16_t kPressMark[] = u"[↓]";
inline constexpr char16_t kReleaseMark[] = u"[↑]";
