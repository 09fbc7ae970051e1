#include "macros/event_lines.h"

#include "core/user_texts.h"
#include "macros/key_names.h"
#include "platform/text.h"

std::u16string DelayLineText(std::uint16_t delay) { return u"    " + DecimalText(delay) + u"ms"; }

std::vector<EventLine> EventLinesOf(const MacroRecord& record, int index, LanguageMode language) {
    std::vector<EventLine> lines;
    if (index < 0 || index >= kEventSlots) return lines;
    if (index > 0) lines.push_back({DelayLineText(record.events[index - 1].delay), EventLineKind::Delay});
    const MacroEvent& event = record.events[index];
    const std::u16string name = KeyName(event.key, language);
    switch (event.action) {
        case kActionPress: lines.push_back({kPressMark + name, EventLineKind::Press}); break;
        case kActionRelease: lines.push_back({kReleaseMark + name, EventLineKind::Release}); break;
        default: lines.push_back({name, EventLineKind::Other}); break;
    }
    return lines;
}

std::vector<EventLine> AllEventLines(const MacroRecord& record, LanguageMode language) {
    std::vector<EventLine> lines;
    const int n = record.BoundedEventCount();
    for (int i = 0; i < n; ++i) {
        for (EventLine& line : EventLinesOf(record, i, language)) lines.push_back(std::move(line));
    }
    return lines;
}
