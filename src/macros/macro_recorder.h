// The macro recorder: turns the key messages the keyboard hook forwards into the events of one
// macro, with the time between keystrokes as the delays. The window owns one and feeds it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "macros/macro_store.h"

// Window message numbers of the keys, as the hook forwards them.
constexpr std::uint32_t kKeyDownMessage = 0x100;
constexpr std::uint32_t kKeyUpMessage = 0x101;
constexpr std::uint32_t kSysKeyDownMessage = 0x104;
constexpr std::uint32_t kSysKeyUpMessage = 0x105;

constexpr int kMaxRecordedEvents = 216;
constexpr int kMaxRecordedPresses = 108;  // half the events: every press keeps room for its release
constexpr int kMaxHeldKeys = 9;
constexpr std::uint16_t kNewestEventDelay = 30;  // until another event follows
constexpr std::int32_t kMillisecondsPerDay = 86'400'000;

constexpr bool IsKeyMessage(std::uint32_t message) {
    return message == kKeyDownMessage || message == kKeyUpMessage || message == kSysKeyDownMessage ||
           message == kSysKeyUpMessage;
}
constexpr bool IsKeyPressMessage(std::uint32_t message) {
    return message == kKeyDownMessage || message == kSysKeyDownMessage;
}

// The UTC time of day the recorder measures with.
constexpr std::int32_t MillisecondsOfDay(int hour, int minute, int second, int millisecond) {
    return ((hour * 3600 + minute * 60 + second) * 1000) + millisecond;
}

// True when the dialog must never see the message: Escape and Enter would close or confirm the
// main window, F10 would enter menu mode. Only key messages count, so a typed 'y' (WM_CHAR 121)
// still reaches the name box.
bool DialogMustNotSee(std::uint32_t message, std::uintptr_t wParam);

class MacroRecorder {
public:
    // Starts recording into macro target (a negative target means the first macro): clears it to
    // an empty macro called name, playing once, and makes it the selected macro. False, and still
    // idle, when there are no macros or the target is not one of them.
    bool Start(MacroStore& store, int target, std::u16string_view name);

    // Ends the recording: keys still held get their releases appended, so playing the macro never
    // leaves a key down, and the event count is written. Returns how many releases were appended
    // (the window shows their lines); 0 when idle.
    int Stop(MacroStore& store);

    // One key message while recording, at nowMsOfDay (UTC). Returns the index of the event it
    // recorded, or nothing when it recorded none: idle, not a key message, the keyboard's
    // auto-repeat, a limit reached, or the release of a key whose press was not recorded.
    std::optional<int> Step(MacroStore& store, std::uint32_t message, std::uint32_t vk, std::int32_t nowMsOfDay);

    // The time since the previous call, across midnight, at most 65535; nowMsOfDay becomes the
    // time base.
    std::uint16_t ElapsedSinceLastEvent(std::int32_t nowMsOfDay);

    bool Recording() const { return recording_; }
    int Target() const { return target_; }
    int RecordedEvents() const { return recordedEvents_; }
    int HeldKeyCount() const { return heldCount_; }

private:
    bool Held(std::uint8_t key) const;
    bool Release(std::uint8_t key);

    bool recording_ = false;
    int target_ = 0;
    int recordedEvents_ = 0;
    int recordedPresses_ = 0;
    // The last key message taken into account; kept across recordings like the keyboard's state.
    std::uint32_t lastMessage_ = 0;
    std::uint32_t lastKey_ = 0;
    std::array<std::uint8_t, kMaxHeldKeys> held_{};
    int heldCount_ = 0;
    std::int32_t timeBase_ = 0;
};
