// The painting surface of the skinned windows: the skin's pictures, decoded and kept as DIB
// sections between paints while their files stay unchanged, and a canvas on a memory DC that the
// portable paint draws into before it reaches the screen in one copy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/handles_win32.h"
#include "skin/canvas_port.h"
#include "skin/mask_region.h"

// A decoded picture as a top-down 32-bit DIB section.
struct SkinBitmap {
    OwnedBitmap bitmap;
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::uint8_t* bits = nullptr;  // the section's rows, blue first; alive with bitmap
};

// The picture's pixels, for a mask's shape.
MaskPixels PixelsOf(const SkinBitmap& picture);

// What identifies a picture file's content: its size and last-write time.
struct PictureStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const PictureStamp&) const = default;
};

// Decoded pictures by path. A picture is decoded again when its file's last-write time or size
// has changed since it was decoded, so an edited skin picture shows at the next paint; a file
// that has gone reads as missing at once.
class PictureCache {
public:
    PictureCache() = default;
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture of path; nullptr when the file is missing or cannot be decoded. Shared, so a
    // canvas that holds a picture for its paint keeps it alive when the cache lets it go.
    std::shared_ptr<const SkinBitmap> Get(const std::wstring& path);

    // Starts decoding paths, one after another, on a thread of its own; Get of one of them
    // waits for its picture. Each call has its own thread. For the first paint, whose pictures
    // would otherwise be decoded on the window's thread while it could be making the window.
    void Prefetch(const std::vector<std::wstring>& paths);
    // Lets go of the decoded pictures (a window hidden in the tray); the next Get decodes again.
    void Forget() { entries_.clear(); }

private:
    struct Entry {
        PictureStamp stamp;
        std::shared_ptr<const SkinBitmap> picture;  // null: the file could not be decoded
    };
    // More pictures than the skin has (a page's three, slider, previews) means paths that come
    // and go; the cache then starts afresh instead of growing.
    static constexpr std::size_t kMaxEntries = 32;

    static std::optional<PictureStamp> StampOf(const std::wstring& path);
    // Nothing when the file is missing; an entry without a picture when it cannot be decoded.
    static std::optional<Entry> Decode(const std::wstring& path);

    std::map<std::wstring, Entry> entries_;
    std::map<std::wstring, std::future<std::optional<Entry>>> pending_;
    std::vector<std::thread> prefetchers_;
};

// The off-screen bitmap a window paints into: a memory DC with a 32-bit DIB section, kept from
// one paint to the next. Fresh memory costs more than a whole paint under Wine (6 ms for the
// first touch of a 760x560 surface), so the window keeps one surface, and the first one's pages
// are touched on a thread of its own while the window's thread goes on with its start-up.
class CanvasSurface {
public:
    CanvasSurface() = default;
    ~CanvasSurface();
    CanvasSurface(const CanvasSurface&) = delete;
    CanvasSurface& operator=(const CanvasSurface&) = delete;

    // A surface of width x height, made now unless the current one has that size already.
    // False when it could not be made.
    bool Prepare(std::int32_t width, std::int32_t height);
    // Prepare, with the fresh pages touched on another thread; Dc waits for it.
    void PrepareInBackground(std::int32_t width, std::int32_t height);
    // The memory DC with the surface selected; nullptr when there is none.
    HDC Dc();
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // Gives the surface's memory back (a window hidden in the tray); the next Prepare makes it again.
    void Release();

private:
    OwnedDC dc_;
    OwnedBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::thread toucher_;
};

// A canvas of a fixed size on a surface, filled by PaintMainWindow and then copied to the
// window. Pictures are named by file name and read from skinsDir through the cache.
class GdiCanvas : public CanvasPort {
public:
    // On a surface of its own, for one paint.
    GdiCanvas(std::int32_t width, std::int32_t height, PictureCache& pictures, std::wstring skinsDir,
              HFONT englishFont, HFONT chineseFont);
    // On the window's surface, of the surface's size.
    GdiCanvas(CanvasSurface& surface, PictureCache& pictures, std::wstring skinsDir, HFONT englishFont,
              HFONT chineseFont);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // False when the memory DC or its bitmap could not be made; nothing is drawn then.
    bool Ready() const { return ready_; }
    HDC Dc() const { return dc_; }
    // One BitBlt of the whole canvas to (0, 0) of target.
    void CopyTo(HDC target) const;

    bool LoadPicture(std::u16string_view picture) override;
    void Fill(const PixelRect& area, Rgb colour) override;
    void CopyPicture(std::u16string_view picture, const PixelRect& source, std::int64_t toX,
                     std::int64_t toY) override;
    void SelectFont(LanguageMode language) override;
    TextSize MeasureText(std::u16string_view text) override;
    void WriteText(std::int64_t x, std::int64_t y, std::u16string_view text, Rgb colour) override;

private:
    // A picture of this paint, selected into its own memory DC.
    struct Loaded {
        std::shared_ptr<const SkinBitmap> picture;
        OwnedDC dc;
        HGDIOBJ previous = nullptr;  // put back before the DC goes, so the bitmap can be freed
    };

    std::unique_ptr<CanvasSurface> ownSurface_;  // for the one-paint canvas
    std::int32_t width_;
    std::int32_t height_;
    PictureCache& pictures_;
    std::wstring skinsDir_;
    HFONT englishFont_;
    HFONT chineseFont_;
    HDC dc_;
    HGDIOBJ previousFont_ = nullptr;
    bool ready_ = false;
    std::map<std::u16string, Loaded, std::less<>> loaded_;
};

// WM_CTLCOLOR* of the main window's child controls: the language's font, white on black.
HBRUSH ColourChildControl(HDC dc, HFONT font);
