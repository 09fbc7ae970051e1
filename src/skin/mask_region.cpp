#include "skin/mask_region.h"

#include <algorithm>
#include <cstddef>

bool RgbPicture::Valid() const {
    if (width <= 0 || height <= 0) return false;
    const auto needed = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u;
    return pixels.size() >= needed;
}

Rgb RgbPicture::At(std::int32_t x, std::int32_t y) const {
    if (!Valid() || x < 0 || y < 0 || x >= width || y >= height) return {};
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

bool MaskPixels::Valid() const {
    return rows != nullptr && width > 0 && height > 0 && bytesPerPixel >= 3 &&
           stride >= static_cast<std::size_t>(width) * bytesPerPixel;
}

MaskPixels PixelsOf(const RgbPicture& picture) {
    if (!picture.Valid()) return {};
    return {picture.width, picture.height, picture.pixels.data(), static_cast<std::size_t>(picture.width) * 3, 3};
}

bool MaskShape::Contains(std::int64_t x, std::int64_t y) const {
    return std::any_of(rects.begin(), rects.end(), [&](const PixelRect& r) { return r.Contains(x, y); });
}

namespace {

using Runs = std::vector<std::pair<std::int32_t, std::int32_t>>;  // [left, right) of kept pixels

Runs RowRuns(const MaskPixels& mask, std::int32_t y) {
    const std::uint8_t* row = mask.rows + static_cast<std::size_t>(y) * mask.stride;
    const auto keeps = [&](std::int32_t x) {
        const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * mask.bytesPerPixel;
        return KeepsMaskPixel({pixel[0], pixel[1], pixel[2]});
    };
    Runs runs;
    std::int32_t x = 0;
    while (x < mask.width) {
        while (x < mask.width && !keeps(x)) ++x;
        const std::int32_t start = x;
        while (x < mask.width && keeps(x)) ++x;
        if (x > start) runs.emplace_back(start, x);
    }
    return runs;
}

}  // namespace

namespace {

// One span per row, from its first kept pixel to its last: the outline without its holes.
Runs RowHull(const MaskPixels& mask, std::int32_t y) {
    Runs runs = RowRuns(mask, y);
    if (runs.size() > 1) runs = {{runs.front().first, runs.back().second}};
    return runs;
}

// Rows with the same runs as the row above extend that band downwards, so a typical outline
// needs a few hundred rectangles instead of one per row. Nothing when more than limit are needed.
std::optional<std::vector<PixelRect>> BandedRects(const MaskPixels& mask, Runs (*rowRuns)(const MaskPixels&, std::int32_t),
                                                  std::size_t limit) {
    std::vector<PixelRect> rects;
    Runs bandRuns;
    std::size_t bandStart = 0;
    for (std::int32_t y = 0; y < mask.height; ++y) {
        Runs runs = rowRuns(mask, y);
        if (y > 0 && runs == bandRuns) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) rects[i].bottom = y + 1;
            continue;
        }
        bandStart = rects.size();
        if (rects.size() + runs.size() > limit) return std::nullopt;
        for (const auto& [left, right] : runs) rects.push_back({left, y, right, y + 1});
        bandRuns = std::move(runs);
    }
    return rects;
}

}  // namespace

MaskShape BuildMaskShape(const std::optional<RgbPicture>& mask, std::int32_t fallbackWidth,
                         std::int32_t fallbackHeight, bool mustMatchFallback) {
    return BuildMaskShape(mask ? PixelsOf(*mask) : MaskPixels{}, fallbackWidth, fallbackHeight, mustMatchFallback);
}

MaskShape BuildMaskShape(const MaskPixels& mask, std::int32_t fallbackWidth, std::int32_t fallbackHeight,
                         bool mustMatchFallback) {
    MaskShape shape;
    const bool fits = !mustMatchFallback || (mask.width == fallbackWidth && mask.height == fallbackHeight);
    if (!fits || !mask.Valid() || mask.width > kMaxMaskSide || mask.height > kMaxMaskSide) {
        shape.width = std::max<std::int32_t>(fallbackWidth, 0);
        shape.height = std::max<std::int32_t>(fallbackHeight, 0);
        if (shape.width > 0 && shape.height > 0) shape.rects.push_back({0, 0, shape.width, shape.height});
        return shape;
    }
    shape.width = mask.width;
    shape.height = mask.height;
    // A noisy mask would give a region the window system takes minutes to apply and the window
    // spins in for every paint: beyond the limit the outline of each row serves, which needs at
    // most one rectangle per row.
    std::optional<std::vector<PixelRect>> rects = BandedRects(mask, RowRuns, kMaxShapeRects);
    if (!rects) rects = BandedRects(mask, RowHull, static_cast<std::size_t>(mask.height));
    shape.rects = std::move(*rects);
    return shape;
}
