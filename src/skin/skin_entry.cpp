#include "skin/skin_entry.h"

namespace {
const SkinEntry kEmptyEntry{};
}  // namespace

const SkinEntry& SkinPage::At(std::int64_t key) const {
    if (key < 0 || static_cast<std::uint64_t>(key) >= entries_.size()) return kEmptyEntry;
    return entries_[static_cast<std::size_t>(key)];
}

SkinEntry* SkinPage::Find(std::int64_t key) {
    if (key < 0 || static_cast<std::uint64_t>(key) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(key)];
}

int SkinPage::HitTest(std::int64_t x, std::int64_t y, int lastKey) const {
    for (int key = 0; key <= lastKey && static_cast<std::size_t>(key) < entries_.size(); ++key) {
        if (entries_[static_cast<std::size_t>(key)].Contains(x, y)) return key;
    }
    return kNoEntry;
}
