// Decoded pictures as DIB sections, the picture cache and the GDI canvas of the skinned windows.
#include "skin/canvas_gdi_win32.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <system_error>
#include <vector>

#include "platform/file_path.h"
#include "skin/picture_decoder.h"
#include "platform/wide_text_win32.h"

namespace {

// A fresh top-down 32-bit DIB section in picture; its rows, or nullptr when it cannot be made.
std::uint8_t* NewDibSection(std::int32_t width, std::int32_t height, std::optional<SkinBitmap>& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, like the decoded rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return nullptr;
    picture = SkinBitmap{std::move(bitmap), width, height, static_cast<const std::uint8_t*>(bits)};
    return static_cast<std::uint8_t*>(bits);
}

// The picture as a top-down 32-bit DIB section: the screen's own format, because copying from
// 24 bits converts every pixel at every paint (a whole page took 10 ms under Wine).
std::optional<SkinBitmap> DecodeDibSection(const std::wstring& path) {
    const std::optional<RgbPicture> decoded = DecodePictureFile(FromWide(path));
    if (!decoded) return std::nullopt;
    std::optional<SkinBitmap> result;
    std::uint8_t* to = NewDibSection(decoded->width, decoded->height, result);
    if (to == nullptr) return std::nullopt;
    for (std::size_t from = 0; from + 2 < decoded->pixels.size(); from += 3, to += 4) {
        to[0] = decoded->pixels[from + 2];
        to[1] = decoded->pixels[from + 1];
        to[2] = decoded->pixels[from];
        to[3] = 0;
    }
    GdiFlush();
    return result;
}

int ClampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

MaskPixels PixelsOf(const SkinBitmap& picture) {
    if (picture.bits == nullptr || picture.width <= 0 || picture.height <= 0) return {};
    return {picture.width, picture.height, picture.bits, static_cast<std::size_t>(picture.width) * 4, 4};
}

PictureCache::~PictureCache() {
    for (std::thread& prefetcher : prefetchers_) prefetcher.join();
}

std::optional<PictureStamp> PictureCache::StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return PictureStamp{(std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow,
                        (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) |
                            attributes.ftLastWriteTime.dwLowDateTime};
}

std::optional<PictureCache::Entry> PictureCache::Decode(const std::wstring& path) {
    // The stamp is taken first: a file changed during the decode is decoded again at its next Get.
    const std::optional<PictureStamp> stamp = StampOf(path);
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
    const std::optional<PictureStamp> stamp = StampOf(path);
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

CanvasSurface::~CanvasSurface() { Release(); }

void CanvasSurface::Release() {
    if (toucher_.joinable()) toucher_.join();
    if (previous_) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool CanvasSurface::Prepare(std::int32_t width, std::int32_t height) {
    if (bitmap_ && width == width_ && height == height_) return true;
    Release();
    if (width <= 0 || height <= 0 || width > kMaxMaskSide || height > kMaxMaskSide) return false;
    OwnedDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    std::optional<SkinBitmap> surface;
    std::uint8_t* bits = NewDibSection(width, height, surface);
    if (bits == nullptr) return false;
    OwnedBitmap bitmap = std::move(surface->bitmap);
    previous_ = SelectObject(dc.get(), bitmap.get());
    if (previous_ == nullptr || previous_ == HGDI_ERROR) {
        previous_ = nullptr;
        return false;
    }
    SetBkMode(dc.get(), TRANSPARENT);
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    bits_ = bits;
    width_ = width;
    height_ = height;
    return true;
}

void CanvasSurface::PrepareInBackground(std::int32_t width, std::int32_t height) {
    if (bitmap_ && width == width_ && height == height_) return;
    if (!Prepare(width, height)) return;
    const std::size_t size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4;
    try {
        toucher_ = std::thread([bits = bits_, size] { std::memset(bits, 0, size); });
    } catch (const std::system_error&) {
        // No thread: the first paint touches the pages itself.
    }
}

HDC CanvasSurface::Dc() {
    if (toucher_.joinable()) toucher_.join();
    return dc_.get();
}

GdiCanvas::GdiCanvas(std::int32_t width, std::int32_t height, PictureCache& pictures, std::wstring skinsDir,
                     HFONT englishFont, HFONT chineseFont)
    : ownSurface_(std::make_unique<CanvasSurface>()),
      width_(std::max<std::int32_t>(width, 0)),
      height_(std::max<std::int32_t>(height, 0)),
      pictures_(pictures),
      skinsDir_(std::move(skinsDir)),
      englishFont_(englishFont),
      chineseFont_(chineseFont),
      dc_(ownSurface_->Prepare(width_, height_) ? ownSurface_->Dc() : nullptr),
      ready_(dc_ != nullptr) {}

GdiCanvas::GdiCanvas(CanvasSurface& surface, PictureCache& pictures, std::wstring skinsDir, HFONT englishFont,
                     HFONT chineseFont)
    : width_(surface.Width()),
      height_(surface.Height()),
      pictures_(pictures),
      skinsDir_(std::move(skinsDir)),
      englishFont_(englishFont),
      chineseFont_(chineseFont),
      dc_(surface.Dc()),
      ready_(dc_ != nullptr) {}

GdiCanvas::~GdiCanvas() {
    for (auto& [name, loaded] : loaded_) {
        if (loaded.previous) SelectObject(loaded.dc.get(), loaded.previous);
    }
    if (previousFont_) SelectObject(dc_, previousFont_);
}

void GdiCanvas::CopyTo(HDC target) const {
    if (ready_) BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

bool GdiCanvas::LoadPicture(std::u16string_view picture) {
    if (!ready_) return false;
    if (const auto found = loaded_.find(picture); found != loaded_.end()) return true;
    std::shared_ptr<const SkinBitmap> bitmap = pictures_.Get(skinsDir_ + L"\\" + ToWide(picture));
    if (!bitmap) return false;
    Loaded loaded;
    loaded.dc.reset(CreateCompatibleDC(dc_));
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
    if (brush) FillRect(dc_, &rect, brush.get());
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
    BitBlt(dc_, ClampToInt(toX + (left - source.left)), ClampToInt(toY + (top - source.top)),
           static_cast<int>(right - left), static_cast<int>(bottom - top), found->second.dc.get(), static_cast<int>(left),
           static_cast<int>(top), SRCCOPY);
}

void GdiCanvas::SelectFont(LanguageMode language) {
    if (!ready_) return;
    HFONT font = language == LanguageMode::English ? englishFont_ : chineseFont_;
    if (!font) return;
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!previousFont_ && previous && previous != HGDI_ERROR) previousFont_ = previous;
}

TextSize GdiCanvas::MeasureText(std::u16string_view text) {
    SIZE size{};
    if (!ready_ || text.empty()) return {};
    const std::wstring wide = ToWide(text);
    if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) return {};
    return {size.cx, size.cy};
}

void GdiCanvas::WriteText(std::int64_t x, std::int64_t y, std::u16string_view text, Rgb colour) {
    if (!ready_ || text.empty()) return;
    const std::wstring wide = ToWide(text);
    SetTextColor(dc_, RGB(colour.red, colour.green, colour.blue));
    TextOutW(dc_, ClampToInt(x), ClampToInt(y), wide.c_str(), static_cast<int>(wide.size()));
}

HBRUSH ColourChildControl(HDC dc, HFONT font) {
    if (font) SelectObject(dc, font);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}
