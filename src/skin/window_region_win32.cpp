// Regions from mask shapes and the popups' sizes.
#include "skin/window_region_win32.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "skin/canvas_gdi_win32.h"
#include "platform/wide_text_win32.h"
#include "skin/picture_decoder.h"

namespace {
RECT ToRect(const PixelRect& r) {
    auto clamp = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT_MIN / 2, INT_MAX / 2)); };
    return {clamp(r.left), clamp(r.top), clamp(r.right), clamp(r.bottom)};
}

void XorRect(HRGN region, const PixelRect& rect) {
    if (rect.Empty()) return;
    const RECT r = ToRect(rect);
    OwnedRegion piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (piece) CombineRgn(region, region, piece.get(), RGN_XOR);
}
}  // namespace

OwnedRegion RegionFromShape(const MaskShape& shape) {
    if (shape.rects.empty()) return OwnedRegion(CreateRectRgn(0, 0, 0, 0));
    // RGNDATA is a header followed by the rectangles; a vector of RECTs keeps the alignment.
    const std::size_t headerRects = (sizeof(RGNDATAHEADER) + sizeof(RECT) - 1) / sizeof(RECT);
    std::vector<RECT> buffer(headerRects + shape.rects.size());
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RGNDATAHEADER& header = data->rdh;
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(shape.rects.size());
    header.nRgnSize = static_cast<DWORD>(shape.rects.size() * sizeof(RECT));
    header.rcBound = {0, 0, shape.width, shape.height};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < shape.rects.size(); ++i) rects[i] = ToRect(shape.rects[i]);
    const auto size = static_cast<DWORD>(sizeof(RGNDATAHEADER) + header.nRgnSize);
    return OwnedRegion(ExtCreateRegion(nullptr, size, data));
}

MaskShape LoadMaskShape(const std::wstring& path, std::int32_t fallbackWidth, std::int32_t fallbackHeight,
                        bool mustMatchFallback) {
    return BuildMaskShape(DecodePictureFile(FromWide(path)), fallbackWidth, fallbackHeight, mustMatchFallback);
}

OwnedRegion BuildRepaintRegion(const MaskShape& shape, const MacroEditorRects& editor) {
    OwnedRegion region = RegionFromShape(shape);
    if (!region) return region;
    XorRect(region.get(), editor.nameBox);
    XorRect(region.get(), editor.eventList);
    XorRect(region.get(), editor.macroList);
    return region;
}

MaskShape ShapeWindowFromMask(HWND window, const std::wstring& maskPath, std::int32_t fallbackWidth,
                              std::int32_t fallbackHeight, bool mustMatchFallback) {
    MaskShape shape = LoadMaskShape(maskPath, fallbackWidth, fallbackHeight, mustMatchFallback);
    SetWindowShape(window, shape);
    return shape;
}

void SetWindowShape(HWND window, const MaskShape& shape) {
    OwnedRegion outline = RegionFromShape(shape);
    // Once set, the region belongs to the window.
    if (outline && SetWindowRgn(window, outline.get(), TRUE)) outline.release();
}

std::optional<SIZE> PictureFileSize(const std::wstring& path) {
    const std::optional<RgbPicture> picture = DecodePictureFile(FromWide(path));
    if (!picture) return std::nullopt;
    return SIZE{picture->width, picture->height};
}

PopupGeometry PopupGeometryOf(std::optional<SIZE> mask, int rowsInMask, int rowCount) {
    PopupGeometry geometry;
    if (!mask || mask->cx <= 0 || mask->cy <= 0 || rowsInMask <= 0) return geometry;
    geometry.width = mask->cx;
    geometry.rowHeight = mask->cy / rowsInMask;
    geometry.height = rowCount > 0 ? std::max(rowCount, 0) * geometry.rowHeight + 1 : 0;
    return geometry;
}

PopupGeometry FirstLevelPopupGeometry(const std::u16string& skinsDir) {
    const std::wstring dir(skinsDir.begin(), skinsDir.end());
    return PopupGeometryOf(PictureFileSize(dir + L"\\" + kMenuMaskPicture), kFirstLevelRows, kFirstLevelRows);
}

PopupGeometry SecondLevelPopupGeometry(const std::u16string& skinsDir, int rowCount) {
    const std::wstring dir(skinsDir.begin(), skinsDir.end());
    return PopupGeometryOf(PictureFileSize(dir + L"\\" + kSubmenuMaskPicture), kSecondLevelRows, rowCount);
}

void ShapePopup(HWND popup, const PopupGeometry& geometry) {
    OwnedRegion rect(CreateRectRgn(0, 0, geometry.width, geometry.height));
    if (rect && SetWindowRgn(popup, rect.get(), TRUE)) rect.release();
}
