// Window shapes from mask pictures: a pixel whose red, green and blue are all above 100 is cut
// out, every other pixel stays. The shape comes out as y-x banded rectangles, ready to be handed
// to ExtCreateRegion in one call instead of one CombineRgn per pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "skin/skin_entry.h"

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// A decoded picture: width x height pixels, rows top to bottom, three bytes (red, green, blue)
// per pixel, no row padding.
struct RgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;

    // Positive size and enough bytes for it; anything else counts as undecodable.
    bool Valid() const;
    // The pixel at (x, y); black outside the picture or for an invalid one.
    Rgb At(std::int32_t x, std::int32_t y) const;
};

// The mask rule for one pixel: true when it stays part of the window. It treats the three
// channels alike, so their order does not matter.
constexpr bool KeepsMaskPixel(Rgb pixel) { return pixel.red <= 100 || pixel.green <= 100 || pixel.blue <= 100; }

// A decoded picture's pixels as the mask rule reads them, without a copy: rows top to bottom,
// stride bytes apart, bytesPerPixel (3 or more) bytes per pixel whose first three are the
// colour channels in either order.
struct MaskPixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::uint8_t* rows = nullptr;
    std::size_t stride = 0;
    std::size_t bytesPerPixel = 3;

    // Positive size, and rows that hold it; anything else counts as undecodable.
    bool Valid() const;
};

// The pixels of picture; an invalid view for an invalid picture.
MaskPixels PixelsOf(const RgbPicture& picture);

struct MaskShape {
    std::int32_t width = 0;   // the mask's size: the size of everything the window paints
    std::int32_t height = 0;
    // Disjoint rectangles in y-x banded order (sorted by top, then left; rectangles of one band
    // share top and bottom), as RGNDATA wants them.
    std::vector<PixelRect> rects;

    bool Contains(std::int64_t x, std::int64_t y) const;
};

// A shape of more rectangles than this is simplified to the outline of each row.
constexpr std::size_t kMaxShapeRects = 4000;

// The shape of a window from its decoded mask picture. A missing or undecodable picture
// (nullopt or !Valid()) gives a plain rectangle of the fallback size, the dialog's own size; so
// does a mask of another size than the fallback when mustMatchFallback is set (the fallback is
// then the size of the pictures the mask has to cut out).
// An invalid MaskPixels stands for a missing or undecodable mask.
MaskShape BuildMaskShape(const MaskPixels& mask, std::int32_t fallbackWidth, std::int32_t fallbackHeight,
                         bool mustMatchFallback = false);
MaskShape BuildMaskShape(const std::optional<RgbPicture>& mask, std::int32_t fallbackWidth,
                         std::int32_t fallbackHeight, bool mustMatchFallback = false);

// Pictures larger than this in either direction are treated as undecodable: the shape would be
// unreasonably large and its rectangle list would not fit a region.
constexpr std::int32_t kMaxMaskSide = 8192;
