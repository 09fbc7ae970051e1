#include "macros/macro_recorder.h"

#include <algorithm>

namespace {

constexpr std::uintptr_t kEscapeKey = 27;
constexpr std::uintptr_t kReturnKey = 13;
constexpr std::uintptr_t kF10Key = 121;

}  // namespace

bool DialogMustNotSee(std::uint32_t message, std::uintptr_t wParam) {
    if (message == kKeyDownMessage && (wParam == kEscapeKey || wParam == kReturnKey)) return true;
    return IsKeyMessage(message) && wParam == kF10Key;
}

bool MacroRecorder::Start(MacroStore& store, int target, std::u16string_view name) {
    if (target < 0) target = 0;
    const bool started = store.Edit([&](MacroStoreData& macros) {
        if (target >= macros.count) return false;
        macros.records[static_cast<std::size_t>(target)] = NewMacro(name);
        macros.selected = target;
        return true;
    });
    if (!started) return false;
    recording_ = true;
    target_ = target;
    recordedEvents_ = 0;
    recordedPresses_ = 0;
    heldCount_ = 0;
    return true;
}

int MacroRecorder::Stop(MacroStore& store) {
    if (!recording_) return 0;
    recording_ = false;
    int appended = 0;
    store.Edit([&](MacroStoreData& macros) {
        if (target_ >= macros.count) return;  // the macros were reloaded meanwhile
        MacroRecord& record = macros.records[static_cast<std::size_t>(target_)];
        // Latest press first, as the fingers would let go; the press limit keeps room for them.
        while (heldCount_ > 0 && recordedEvents_ < kMaxRecordedEvents) {
            record.events[static_cast<std::size_t>(recordedEvents_)] = {held_[static_cast<std::size_t>(--heldCount_)], kActionRelease,
                                                                       kNewestEventDelay};
            ++recordedEvents_;
            ++appended;
        }
        record.eventCount = static_cast<std::uint8_t>(recordedEvents_);
    });
    heldCount_ = 0;
    return appended;
}

std::optional<int> MacroRecorder::Step(MacroStore& store, std::uint32_t message, std::uint32_t vk, std::int32_t nowMsOfDay) {
    if (!recording_ || !IsKeyMessage(message)) return std::nullopt;
    const bool press = IsKeyPressMessage(message);
    const auto key = static_cast<std::uint8_t>(vk);
    // The keyboard repeats a held key's press; such a repeat is the same message again.
    if (message == lastMessage_ && vk == lastKey_) return std::nullopt;
    if (recordedEvents_ >= kMaxRecordedEvents) {
        lastMessage_ = message;
        lastKey_ = vk;
        return std::nullopt;
    }
    // These leave the last message alone, so the key's repeats keep being refused too.
    if (press && (recordedPresses_ >= kMaxRecordedPresses || heldCount_ >= kMaxHeldKeys)) return std::nullopt;
    if (!press && !Held(key)) return std::nullopt;

    const int k = recordedEvents_;
    const bool written = store.Edit([&](MacroStoreData& macros) {
        if (target_ >= macros.count) return false;
        MacroRecord& record = macros.records[static_cast<std::size_t>(target_)];
        const std::uint16_t elapsed = ElapsedSinceLastEvent(nowMsOfDay);
        auto& event = record.events[static_cast<std::size_t>(k)];
        event.key = key;
        event.action = press ? kActionPress : kActionRelease;
        if (k > 0) {
            record.events[static_cast<std::size_t>(k - 1)].delay = elapsed;
            event.delay = kNewestEventDelay;
        }
        return true;
    });
    if (!written) return std::nullopt;
    if (press) {
        held_[static_cast<std::size_t>(heldCount_++)] = key;
        ++recordedPresses_;
    } else {
        Release(key);
    }
    ++recordedEvents_;
    lastMessage_ = message;
    lastKey_ = vk;
    return k;
}

std::uint16_t MacroRecorder::ElapsedSinceLastEvent(std::int32_t nowMsOfDay) {
    std::int64_t d = static_cast<std::int64_t>(nowMsOfDay) - timeBase_;
    timeBase_ = nowMsOfDay;
    if (d < 0) d += kMillisecondsPerDay;  // midnight has passed
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(d, 0, 65535));
}

bool MacroRecorder::Held(std::uint8_t key) const {
    return std::find(held_.begin(), held_.begin() + heldCount_, key) != held_.begin() + heldCount_;
}

bool MacroRecorder::Release(std::uint8_t key) {
    const auto end = held_.begin() + heldCount_;
    const auto found = std::find(held_.begin(), end, key);
    if (found == end) return false;
    std::copy(found + 1, end, found);
    --heldCount_;
    return true;
}
