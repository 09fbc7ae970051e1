// What painting asks of a drawing surface. The Windows shell implements it on a memory device
// context (pictures decoded once and kept, StretchBlt copies, TextOutW draws); tests record the
// calls. Pictures are named by their file name in the skins directory ("main_over.jpg").
#pragma once

#include <cstdint>
#include <string_view>

#include "core/language.h"
#include "skin/mask_region.h"
#include "skin/skin_entry.h"

struct TextSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const TextSize&) const = default;
};

class CanvasPort {
public:
    virtual ~CanvasPort() = default;

    // Reads and decodes a picture for this paint. False when it is missing or cannot be decoded;
    // painting then copies nothing from it.
    virtual bool LoadPicture(std::u16string_view picture) = 0;
    virtual void Fill(const PixelRect& area, Rgb colour) = 0;
    // Copies source (picture pixels) of a loaded picture to the canvas with its top-left corner
    // at (toX, toY), same size.
    virtual void CopyPicture(std::u16string_view picture, const PixelRect& source, std::int64_t toX,
                             std::int64_t toY) = 0;
    // Selects the language's text font (the English or the Chinese one) for what follows.
    virtual void SelectFont(LanguageMode language) = 0;
    virtual TextSize MeasureText(std::u16string_view text) = 0;
    // Draws text with a transparent background, its top-left corner at (x, y); not clipped.
    virtual void WriteText(std::int64_t x, std::int64_t y, std::u16string_view text, Rgb colour) = 0;
};
