// GDI+ decoding, the picture cache and the GDI canvas of the skinned windows.
#include "skin/canvas_gdi_win32.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/file_path.h"
#include "platform/wide_text_win32.h"

// The GDI+ C++ headers use min and max unqualified; NOMINMAX takes the macros away.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace {

// GDI+ is started once for the process and left running until it ends: pictures are decoded
// from the window's thread and from tests alike, and shutting it down would gain nothing.
bool GdiplusReady() {
    static const bool ready = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return ready;
}

// A decoded picture as GDI+ hands it out: rows of blue, green, red with a row stride.
struct BgrRows {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> bytes;

    const std::uint8_t* Row(std::int32_t y) const { return bytes.data() + static_cast<std::size_t>(y) * stride; }
};

std::optional<BgrRows> DecodeBgr(const std::wstring& path) {
    if (!GdiplusReady()) return std::nullopt;
    // GDI+ would report a missing file too, but only after trying every decoder on nothing.
    if (!PathExists(FromWide(path))) return std::nullopt;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    const UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    if (width == 0 || height == 0 || width > static_cast<UINT>(kMaxMaskSide) || height > static_cast<UINT>(kMaxMaskSide)) {
        return std::nullopt;
    }
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok) return std::nullopt;

    BgrRows rows;
    rows.width = static_cast<std::int32_t>(width);
    rows.height = static_cast<std::int32_t>(height);
    rows.stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};  // a DIB row's size
    rows.bytes.resize(rows.stride * height);
    // The stride GDI+ reports may be negative (bottom-up data); each row is found through it.
    const auto* source = static_cast<const std::uint8_t*>(data.Scan0);
    for (UINT y = 0; y < height; ++y) {
        const std::uint8_t* from = source + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(rows.bytes.data() + y * rows.stride, from, static_cast<std::size_t>(width) * 3);
    }
    bitmap.UnlockBits(&data);
    return rows;
}

std::optional<SkinBitmap> MakeDibSection(const BgrRows& rows) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rows.width;
    info.bmiHeader.biHeight = -rows.height;  // top-down, like the decoded rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return std::nullopt;
    std::memcpy(bits, rows.bytes.data(), rows.bytes.size());
    GdiFlush();
    return SkinBitmap{std::move(bitmap), rows.width, rows.height};
}

int ClampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

std::optional<RgbPicture> DecodeRgbPicture(const std::wstring& path) {
    const std::optional<BgrRows> rows = DecodeBgr(path);
    if (!rows) return std::nullopt;
    RgbPicture picture;
    picture.width = rows->width;
    picture.height = rows->height;
    picture.pixels.resize(static_cast<std::size_t>(rows->width) * static_cast<std::size_t>(rows->height) * 3);
    std::uint8_t* to = picture.pixels.data();
    for (std::int32_t y = 0; y < rows->height; ++y) {
        const std::uint8_t* from = rows->Row(y);
        for (std::int32_t x = 0; x < rows->width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return picture;
}

bool PictureCache::Stamp::operator==(const Stamp& other) const {
    return CompareFileTime(&lastWrite, &other.lastWrite) == 0 && size == other.size;
}

std::shared_ptr<const SkinBitmap> PictureCache::Get(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        entries_.erase(path);
        return nullptr;
    }
    const Stamp stamp{attributes.ftLastWriteTime,
                      (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow};
    const auto found = entries_.find(path);
    if (found != entries_.end() && found->second.stamp == stamp) return found->second.picture;

    if (found == entries_.end() && entries_.size() >= kMaxEntries) entries_.clear();
    Entry& entry = entries_[path];
    entry.stamp = stamp;
    entry.picture.reset();
    if (const std::optional<BgrRows> rows = DecodeBgr(path)) {
        if (std::optional<SkinBitmap> dib = MakeDibSection(*rows)) {
            entry.picture = std::make_shared<const SkinBitmap>(std::move(*dib));
        }
    }
    return entry.picture;
}

GdiCanvas::GdiCanvas(HDC reference, std::int32_t width, std::int32_t height, PictureCache& pictures,
                     std::wstring skinsDir, HFONT englishFont, HFONT chineseFont)
    : width_(std::max<std::int32_t>(width, 0)),
      height_(std::max<std::int32_t>(height, 0)),
      pictures_(pictures),
      skinsDir_(std::move(skinsDir)),
      englishFont_(englishFont),
      chineseFont_(chineseFont),
      dc_(CreateCompatibleDC(reference)) {
    if (!dc_ || width_ == 0 || height_ == 0) return;
    bitmap_.reset(CreateCompatibleBitmap(reference, width_, height_));
    if (!bitmap_) return;
    previousBitmap_ = SelectObject(dc_.get(), bitmap_.get());
    SetBkMode(dc_.get(), TRANSPARENT);
    ready_ = true;
}

GdiCanvas::~GdiCanvas() {
    for (auto& [name, loaded] : loaded_) {
        if (loaded.previous) SelectObject(loaded.dc.get(), loaded.previous);
    }
    if (previousFont_) SelectObject(dc_.get(), previousFont_);
    if (previousBitmap_) SelectObject(dc_.get(), previousBitmap_);
}

void GdiCanvas::CopyTo(HDC target) const {
    if (ready_) BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

bool GdiCanvas::LoadPicture(std::u16string_view picture) {
    if (!ready_) return false;
    if (const auto found = loaded_.find(picture); found != loaded_.end()) return true;
    std::shared_ptr<const SkinBitmap> bitmap = pictures_.Get(skinsDir_ + L"\\" + ToWide(picture));
    if (!bitmap) return false;
    Loaded loaded;
    loaded.dc.reset(CreateCompatibleDC(dc_.get()));
    if (!loaded.dc) return false;
    loaded.previous = SelectObject(loaded.dc.get(), bitmap->bitmap.get());
    if (loaded.previous == nullptr || loaded.previous == HGDI_ERROR) return false;
    loaded.picture = std::move(bitmap);
    loaded_.emplace(std::u16string(picture), std::move(loaded));
    return true;
}

void GdiCanvas::Fill(const PixelRect& area, Rgb colour) {
    if (!ready_ || area.Empty()) return;
    const RECT rect{ClampToInt(area.left), ClampToInt(area.top), ClampToInt(area.right), ClampToInt(area.bottom)};
    OwnedBrush brush(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
    if (brush) FillRect(dc_.get(), &rect, brush.get());
}

void GdiCanvas::CopyPicture(std::u16string_view picture, const PixelRect& source, std::int64_t toX, std::int64_t toY) {
    const auto found = loaded_.find(picture);
    if (found == loaded_.end()) return;
    const SkinBitmap& bitmap = *found->second.picture;
    // Only the part of the source that lies in the picture is copied; the rest of the
    // destination keeps what the canvas held.
    const std::int64_t left = std::max<std::int64_t>(source.left, 0);
    const std::int64_t top = std::max<std::int64_t>(source.top, 0);
    const std::int64_t right = std::min<std::int64_t>(source.right, bitmap.width);
    const std::int64_t bottom = std::min<std::int64_t>(source.bottom, bitmap.height);
    if (right <= left || bottom <= top) return;
    BitBlt(dc_.get(), ClampToInt(toX + (left - source.left)), ClampToInt(toY + (top - source.top)),
           static_cast<int>(right - left), static_cast<int>(bottom - top), found->second.dc.get(), static_cast<int>(left),
           static_cast<int>(top), SRCCOPY);
}

void GdiCanvas::SelectFont(LanguageMode language) {
    if (!ready_) return;
    HFONT font = language == LanguageMode::English ? englishFont_ : chineseFont_;
    if (!font) return;
    HGDIOBJ previous = SelectObject(dc_.get(), font);
    if (!previousFont_ && previous && previous != HGDI_ERROR) previousFont_ = previous;
}

TextSize GdiCanvas::MeasureText(std::u16string_view text) {
    SIZE size{};
    if (!ready_ || text.empty()) return {};
    const std::wstring wide = ToWide(text);
    if (!GetTextExtentPoint32W(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &size)) return {};
    return {size.cx, size.cy};
}

void GdiCanvas::WriteText(std::int64_t x, std::int64_t y, std::u16string_view text, Rgb colour) {
    if (!ready_ || text.empty()) return;
    const std::wstring wide = ToWide(text);
    SetTextColor(dc_.get(), RGB(colour.red, colour.green, colour.blue));
    TextOutW(dc_.get(), ClampToInt(x), ClampToInt(y), wide.c_str(), static_cast<int>(wide.size()));
}

HBRUSH ColourChildControl(HDC dc, HFONT font) {
    if (font) SelectObject(dc, font);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}
