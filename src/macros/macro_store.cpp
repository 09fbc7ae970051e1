#include "macros/macro_store.h"

#include <algorithm>

std::u16string MacroRecord::Name() const {
    std::u16string out;
    for (int i = 0; i < kMaxNameChars && name[i] != 0; ++i) out.push_back(name[i]);
    return out;
}

void MacroRecord::SetName(std::u16string_view text) {
    name.fill(0);
    const std::size_t n = std::min<std::size_t>(text.size(), kMaxNameChars);
    // Never leave half of a surrogate pair at the cut: the name would not convert back.
    std::size_t keep = n;
    if (keep > 0 && keep < text.size() && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
    std::copy_n(text.begin(), keep, name.begin());
}

MacroImage EncodeRecord(const MacroRecord& record) {
    MacroImage image{};
    for (int i = 0; i < kNameUnits; ++i) {
        image[2 * i] = static_cast<std::uint8_t>(record.name[i] & 0xFF);
        image[2 * i + 1] = static_cast<std::uint8_t>(record.name[i] >> 8);
    }
    image[40] = record.repeatMode;
    image[41] = static_cast<std::uint8_t>(record.repeatCount & 0xFF);
    image[42] = static_cast<std::uint8_t>(record.repeatCount >> 8);
    image[43] = record.eventCount;
    for (int k = 0; k < kEventSlots; ++k) {
        const MacroEvent& e = record.events[k];
        image[44 + 4 * k] = e.key;
        image[45 + 4 * k] = e.action;
        image[46 + 4 * k] = static_cast<std::uint8_t>(e.delay & 0xFF);
        image[47 + 4 * k] = static_cast<std::uint8_t>(e.delay >> 8);
    }
    return image;
}

MacroRecord DecodeRecord(const MacroImage& image) {
    MacroRecord record;
    for (int i = 0; i < kNameUnits; ++i) {
        record.name[i] = static_cast<char16_t>(image[2 * i] | (image[2 * i + 1] << 8));
    }
    record.repeatMode = image[40];
    record.repeatCount = static_cast<std::uint16_t>(image[41] | (image[42] << 8));
    record.eventCount = image[43];
    for (int k = 0; k < kEventSlots; ++k) {
        MacroEvent& e = record.events[k];
        e.key = image[44 + 4 * k];
        e.action = image[45 + 4 * k];
        e.delay = static_cast<std::uint16_t>(image[46 + 4 * k] | (image[47 + 4 * k] << 8));
    }
    return record;
}

MacroRecord NewMacro(std::u16string_view name) {
    MacroRecord record;
    record.SetName(name);
    record.repeatMode = 0;
    record.repeatCount = 1;
    record.eventCount = 0;
    return record;
}

MacroStoreData MacroStore::Copy() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return data_;
}

int MacroStore::Count() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return data_.count;
}

std::optional<MacroRecord> MacroStore::Snapshot(int index) const {
    std::lock_guard<std::mutex> hold(mutex_);
    const int count = std::clamp<int>(data_.count, 0, kMaxMacros);
    if (index < 0 || index >= count) return std::nullopt;
    return data_.records[index];
}

void MarkMacrosSaved(MacroStoreData& data, const MacroStoreData& written) {
    data.saved = written.records;
    data.savedCount = written.count;
}

bool HasUnsavedMacros(const MacroStoreData& data) {
    if (data.count != data.savedCount) return true;
    const int count = std::clamp<int>(data.count, 0, kMaxMacros);
    return !std::equal(data.records.begin(), data.records.begin() + count, data.saved.begin());
}
