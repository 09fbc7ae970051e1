// Macros written out in a test: Macro({{'A', kActionPress, 10}, ...}, repeatMode, repeatCount).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "macros/macro_store.h"

inline MacroRecord Macro(std::initializer_list<MacroEvent> events, std::uint8_t repeatMode = 0, std::uint16_t repeatCount = 1) {
    MacroRecord m = NewMacro(u"m");
    m.repeatMode = repeatMode;
    m.repeatCount = repeatCount;
    for (const MacroEvent& e : events) m.events[m.eventCount++] = e;
    return m;
}
