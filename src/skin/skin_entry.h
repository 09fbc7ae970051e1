// One numbered layout entry of a skin description (a rectangle and a text) and the fixed-size
// tables that hold a page's entries. Entries are addressed by number everywhere; a number outside
// a table reads as an empty entry, so a bad number from a file can never index past the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Left and top inclusive, right and bottom exclusive, as Windows rectangles.
struct PixelRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;

    std::int64_t Width() const { return right - left; }
    std::int64_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(std::int64_t x, std::int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect&) const = default;
};

struct SkinEntry {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::u16string text;

    // Computed in 64 bits: x + width of two values near INT_MAX must not overflow.
    PixelRect Rect() const { return {x, y, std::int64_t{x} + width, std::int64_t{y} + height}; }
    bool Contains(std::int64_t px, std::int64_t py) const { return Rect().Contains(px, py); }
    bool operator==(const SkinEntry&) const = default;
};

class SkinPage {
public:
    explicit SkinPage(std::size_t size) : entries_(size) {}

    std::size_t Size() const { return entries_.size(); }
    // The entry with this key number; an empty entry (no rectangle, no text) when out of range.
    const SkinEntry& At(std::int64_t key) const;
    // Writable entry; nullptr when out of range.
    SkinEntry* Find(std::int64_t key);

    // The first entry 0..lastKey whose rectangle holds the point, 255 when none does.
    int HitTest(std::int64_t x, std::int64_t y, int lastKey) const;

private:
    std::vector<SkinEntry> entries_;
};

constexpr int kNoEntry = 255;
constexpr std::size_t kMainEntries = 100;
constexpr std::size_t kAdvancedEntries = 46;
constexpr std::size_t kColourEntries = 13;
constexpr std::size_t kWarningEntries = 3;
constexpr int kFunctionNameCount = 54;
