// The macro that the timing checks play: 200 key events with delays of 1 to 20 ms, and how far
// the measured gaps between the injected events miss those delays. Shared by the playback
// benchmark and the Win32 timing test, which differ only in the clock they read.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "macros/macro_store.h"
#include "support/percentile.h"

constexpr int kTimingEvents = 200;

// Stores the timing macro as the only macro and returns it.
inline MacroRecord StoreTimingMacro(MacroStore& macros) {
    MacroRecord macro = NewMacro(u"timing");
    macro.eventCount = kTimingEvents;
    for (int k = 0; k < kTimingEvents; ++k) {
        // Each key is released by the event after its press: nothing is left for the end to release.
        macro.events[k] = {static_cast<std::uint8_t>('A' + (k / 2) % 26),
                           static_cast<std::uint8_t>(k % 2 == 0 ? kActionPress : kActionRelease),
                           static_cast<std::uint16_t>(1 + (k * 7) % 20)};
    }
    macros.Edit([&](MacroStoreData& d) {
        d.records[0] = macro;
        d.count = 1;
    });
    return macro;
}

// For every two events: the measured gap minus the delay the macro asks for (negative when the
// second event came early).
inline std::vector<double> DelayErrorsMs(const MacroRecord& macro, const std::vector<double>& stampsMs) {
    std::vector<double> errors;
    for (std::size_t k = 0; k + 1 < stampsMs.size() && k < static_cast<std::size_t>(macro.BoundedEventCount()); ++k) {
        errors.push_back(stampsMs[k + 1] - stampsMs[k] - macro.events[k].delay);
    }
    return errors;
}
