// What the macro editor on the advanced page remembers between its operations: which line of
// the event list is current. Shared by start-up, the editor and the recorder.
#pragma once

#include <atomic>
#include <cstdint>

#include "macros/macro_store.h"

struct MacroEditorState {
    std::atomic<std::int32_t> selectedLine{0};
};

// The last line of the selected macro's event list (its last key line: 2n - 2), or 0 when that
// macro has no events or no macro is selected.
std::int32_t LastEventLine(const MacroStoreData& macros);
