// The lines of the macro editor's event list: one per event ("[↓]A", "[↑]A", or the bare name),
// and between two events a delay line "    %dms" with the delay of the earlier one.
#pragma once

#include <string>
#include <vector>

#include "core/language.h"
#include "macros/macro_store.h"

enum class EventLineKind { Delay, Press, Release, Other };

struct EventLine {
    std::u16string text;
    EventLineKind kind = EventLineKind::Other;
    bool operator==(const EventLine&) const = default;
};

// The lines that event index adds at the end of the list: the delay line of the event before it
// (when index > 0), then its own line. An index outside the record's slots adds nothing.
std::vector<EventLine> EventLinesOf(const MacroRecord& record, int index, LanguageMode language);

// The whole list of a macro: 2n - 1 lines for n events.
std::vector<EventLine> AllEventLines(const MacroRecord& record, LanguageMode language);

// "    %dms".
std::u16string DelayLineText(std::uint16_t delay);

// The editor's press-line and release-line counters.
struct EventLineCounters {
    int pressLines = 0;
    int releaseLines = 0;
    void Count(const EventLine& line) {
        if (line.kind == EventLineKind::Press) ++pressLines;
        if (line.kind == EventLineKind::Release) ++releaseLines;
    }
};
