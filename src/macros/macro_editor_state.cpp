#include "macros/macro_editor_state.h"

std::int32_t LastEventLine(const MacroStoreData& macros) {
    if (macros.selected < 0 || macros.selected >= kMaxMacros) return 0;
    const int events = macros.records[static_cast<std::size_t>(macros.selected)].BoundedEventCount();
    return events > 0 ? 2 * events - 2 : 0;
}
