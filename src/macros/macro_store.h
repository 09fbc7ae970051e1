// The program's macros: up to 12 named lists of key and mouse-button events, their fixed
// 1064-byte record image, and the store shared by the window's thread and the host action thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "core/macro_limits.h"

constexpr int kEventSlots = 255;      // slots in a record image
constexpr int kMaxMacroEvents = 254;  // events the editor and recorder ever create
constexpr int kNameUnits = 20;        // UTF-16 units of a name, terminator included
constexpr int kMaxNameChars = kNameUnits - 1;
constexpr std::size_t kMacroImageSize = 1064;

// Key codes of the mouse buttons; every other code is a Windows virtual key.
constexpr std::uint8_t kLeftButtonKey = 240;
constexpr std::uint8_t kRightButtonKey = 241;
constexpr std::uint8_t kMiddleButtonKey = 242;

enum MacroAction : std::uint8_t { kActionNone = 0, kActionPress = 1, kActionRelease = 2 };

struct MacroEvent {
    std::uint8_t key = 0;
    std::uint8_t action = 0;
    std::uint16_t delay = 0;  // milliseconds to wait after the event
    bool operator==(const MacroEvent&) const = default;
};

struct MacroRecord {
    std::array<char16_t, kNameUnits> name{};  // kept as stored, for a byte-exact image
    std::uint8_t repeatMode = 0;              // 0 once, otherwise repeatCount times
    std::uint16_t repeatCount = 0;
    std::uint8_t eventCount = 0;
    std::array<MacroEvent, kEventSlots> events{};

    // The name up to its terminator; an image without one gives at most 19 characters.
    std::u16string Name() const;
    // Stores at most 19 characters, then zeros, so the terminator always fits.
    void SetName(std::u16string_view text);
    // Events that exist: the event count, bounded by the slots of the record.
    int BoundedEventCount() const { return eventCount < kEventSlots ? eventCount : kEventSlots; }

    bool operator==(const MacroRecord&) const = default;
};

using MacroImage = std::array<std::uint8_t, kMacroImageSize>;

MacroImage EncodeRecord(const MacroRecord& record);
MacroRecord DecodeRecord(const MacroImage& image);

// A new macro as the editor adds it: the name, play once, repeat count 1, no events.
MacroRecord NewMacro(std::u16string_view name);

struct MacroStoreData {
    std::array<MacroRecord, kMaxMacros> records{};
    std::int16_t count = 0;          // 0..12
    std::int32_t selected = 0;       // the macro the editor shows
    std::u16string filePath;         // the macro file of the current language
    // The macros as that file holds them since they were last loaded from it or saved to it.
    std::array<MacroRecord, kMaxMacros> saved{};
    std::int16_t savedCount = 0;

    bool operator==(const MacroStoreData&) const = default;
};

// The macros of written are what the macro file holds now (written: data itself after a load, the
// copy a save wrote, which an edit may have overtaken since).
void MarkMacrosSaved(MacroStoreData& data, const MacroStoreData& written);
// The macros differ from what the macro file holds: recorded or edited and not saved.
bool HasUnsavedMacros(const MacroStoreData& data);

// Every access goes through one lock, so a load, an edit or a playback snapshot always sees
// whole records. Playback takes its copy once and plays that, whatever changes meanwhile.
class MacroStore {
public:
    // Runs fn(MacroStoreData&) under the lock and returns its result; for the editor and loads.
    // fn must keep count within 0..12.
    template <class Fn>
    decltype(auto) Edit(Fn&& fn) {
        std::lock_guard<std::mutex> hold(mutex_);
        return fn(data_);
    }
    template <class Fn>
    decltype(auto) Read(Fn&& fn) const {
        std::lock_guard<std::mutex> hold(mutex_);
        return fn(static_cast<const MacroStoreData&>(data_));
    }

    MacroStoreData Copy() const;
    int Count() const;
    // A copy of macro index when it is one of the current macros, for playing it.
    std::optional<MacroRecord> Snapshot(int index) const;

private:
    mutable std::mutex mutex_;
    MacroStoreData data_;
};
