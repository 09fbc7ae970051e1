// GDI+ decoding, the picture cache and the GDI canvas of the skinned windows.
#include "skin/canvas_gdi_win32.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <new>
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
// from several threads, and shutting it down would gain nothing.
bool GdiplusReady() {
    static const bool ready = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return ready;
}

// Decodes path into rows of blue, green, red that rowsFor(width, height, stride) provides:
// GDI+ writes them there itself, which saves two copies of the picture, each costing fresh
// pages. rowsFor returns nullptr when it cannot; the decode fails then.
template <typename RowsFor>
bool DecodeBgrInto(const std::wstring& path, RowsFor rowsFor) {
    if (!GdiplusReady()) return false;
    // GDI+ would report a missing file too, but only after trying every decoder on nothing.
    if (!PathExists(FromWide(path))) return false;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
    const UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    if (width == 0 || height == 0 || width > static_cast<UINT>(kMaxMaskSide) || height > static_cast<UINT>(kMaxMaskSide)) {
        return false;
    }
    const INT stride = static_cast<INT>((width * 3 + 3) & ~3u);  // a DIB row's size
    std::uint8_t* rows = rowsFor(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), stride);
    if (rows == nullptr) return false;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = stride;
    data.PixelFormat = PixelFormat24bppRGB;
    data.Scan0 = rows;
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat24bppRGB,
                        &data) != Gdiplus::Ok) {
        return false;
    }
    bitmap.UnlockBits(&data);
    return true;
}

// The picture as a top-down 24-bit DIB section, decoded straight into it.
std::optional<SkinBitmap> DecodeDibSection(const std::wstring& path) {
    std::optional<SkinBitmap> result;
    const bool decoded = DecodeBgrInto(path, [&](std::int32_t width, std::int32_t height, INT) -> std::uint8_t* {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down, like the decoded rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || bits == nullptr) return nullptr;
        result = SkinBitmap{std::move(bitmap), width, height};
        return static_cast<std::uint8_t*>(bits);
    });
    if (!decoded) return std::nullopt;
    GdiFlush();
    return result;
}

int ClampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

std::optional<RgbPicture> DecodeRgbPicture(const std::wstring& path) {
    std::vector<std::uint8_t> bgr;
    INT stride = 0;
    RgbPicture picture;
    const bool decoded = DecodeBgrInto(path, [&](std::int32_t width, std::int32_t height, INT rowBytes) {
        picture.width = width;
        picture.height = height;
        stride = rowBytes;
        bgr.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height));
        return bgr.data();
    });
    if (!decoded) return std::nullopt;
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3);
    std::uint8_t* to = picture.pixels.data();
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::uint8_t* from = bgr.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        for (std::int32_t x = 0; x < picture.width; ++x, from += 3, to += 3) {
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

PictureCache::~PictureCache() {
    for (std::thread& prefetcher : prefetchers_) prefetcher.join();
}

std::optional<PictureCache::Stamp> PictureCache::StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return Stamp{attributes.ftLastWriteTime, (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow};
}

std::optional<PictureCache::Entry> PictureCache::Decode(const std::wstring& path) {
    // The stamp is taken first: a file changed during the decode is decoded again at its next Get.
    const std::optional<Stamp> stamp = StampOf(path);
    if (!stamp) return std::nullopt;
    Entry entry{*stamp, nullptr};
    if (std::optional<SkinBitmap> dib = DecodeDibSection(path)) {
        entry.picture = std::make_shared<const SkinBitmap>(std::move(*dib));
    }
    return entry;
}

void PictureCache::Prefetch(const std::vector<std::wstring>& paths) {
    std::vector<std::promise<std::optional<Entry>>> promises(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) pending_[paths[i]] = promises[i].get_future();
    // One thread, in the order given: the first picture is the first one needed.
    prefetchers_.emplace_back([paths, promises = std::move(promises)]() mutable {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            std::optional<Entry> entry;
            try {
                entry = Decode(paths[i]);
            } catch (const std::bad_alloc&) {
                // Get decodes it again on the window's thread.
            }
            promises[i].set_value(std::move(entry));
        }
    });
}

std::shared_ptr<const SkinBitmap> PictureCache::Get(const std::wstring& path) {
    if (const auto prefetched = pending_.find(path); prefetched != pending_.end()) {
        std::optional<Entry> entry = prefetched->second.get();
        pending_.erase(prefetched);
        if (entry) entries_[path] = std::move(*entry);  // checked against the file below like any other
    }
    const std::optional<Stamp> stamp = StampOf(path);
    if (!stamp) {
        entries_.erase(path);
        return nullptr;
    }
    const auto found = entries_.find(path);
    if (found != entries_.end() && found->second.stamp == *stamp) return found->second.picture;
    if (found == entries_.end() && entries_.size() >= kMaxEntries) entries_.clear();
    Entry& entry = entries_[path];
    entry = Decode(path).value_or(Entry{*stamp, nullptr});
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
