// The skin's Windows side: regions from masks (the fast builder against the per-pixel one), the
// GDI canvas with its decoded pictures and their cache, and the popups' sizes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/wide_text_win32.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/picture_decoder.h"
#include "skin/paint_main_window.h"
#include "skin/skin_entries.h"
#include "skin/window_region_win32.h"
#include "win32/skin_support.h"
#include "win32/support.h"

namespace {

RgbPicture PictureOf(int width, int height, const std::function<Rgb(int, int)>& colour) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            picture.pixels.insert(picture.pixels.end(), {c.red, c.green, c.blue});
        }
    }
    return picture;
}

// The outline as a naive program builds it, to check the row builder against and to measure what
// it saves: the full rectangle, then one CombineRgn (exclusive or) per light pixel, column by column.
OwnedRegion RegionPixelByPixel(const RgbPicture& mask) {
    if (!mask.Valid()) return OwnedRegion(CreateRectRgn(0, 0, 0, 0));
    OwnedRegion region(CreateRectRgn(0, 0, mask.width, mask.height));
    if (!region) return region;
    for (std::int32_t x = 0; x < mask.width; ++x) {
        for (std::int32_t y = 0; y < mask.height; ++y) {
            if (KeepsMaskPixel(mask.At(x, y))) continue;
            OwnedRegion pixel(CreateRectRgn(x, y, x + 1, y + 1));
            if (pixel) CombineRgn(region.get(), region.get(), pixel.get(), RGN_XOR);
        }
    }
    return region;
}

// Both builders give the same pixels, and those are exactly the mask rule's.
void ExpectBuildersAgree(const RgbPicture& mask, bool checkEveryPixel) {
    const MaskShape shape = BuildMaskShape(mask, 1, 1);
    const OwnedRegion fast = RegionFromShape(shape);
    const OwnedRegion slow = RegionPixelByPixel(mask);
    ASSERT_TRUE(fast);
    ASSERT_TRUE(slow);
    EXPECT_TRUE(EqualRgn(fast.get(), slow.get()));
    if (!checkEveryPixel) return;
    for (int y = -1; y <= mask.height; ++y) {
        for (int x = -1; x <= mask.width; ++x) {
            const bool kept = x >= 0 && y >= 0 && x < mask.width && y < mask.height && KeepsMaskPixel(mask.At(x, y));
            ASSERT_EQ(PtInRegion(fast.get(), x, y) != FALSE, kept) << x << "," << y;
        }
    }
}

std::wstring Wide(const std::filesystem::path& path) { return path.wstring(); }

TEST(WindowRegion, RowBuilderAndPerPixelBuilderAgreeOnSyntheticMasks) {
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    // All dark: the whole rectangle. All light: nothing.
    ExpectBuildersAgree(PictureOf(7, 5, [&](int, int) { return black; }), true);
    ExpectBuildersAgree(PictureOf(7, 5, [&](int, int) { return white; }), true);
    // The threshold: every channel above 100 is cut, one channel at 100 or below keeps the pixel.
    const Rgb edge[] = {{101, 101, 101}, {255, 255, 100}, {100, 200, 200}, {200, 100, 200}, {100, 100, 100}};
    ExpectBuildersAgree(PictureOf(5, 3, [&](int x, int y) { return edge[(x + y) % 5]; }), true);
    ExpectBuildersAgree(PictureOf(9, 9, [&](int x, int y) { return (x + y) % 2 ? white : black; }), true);
    // A blob with holes and bands of equal rows, and a random field.
    ExpectBuildersAgree(PictureOf(40, 30, [&](int x, int y) {
                            const int dx = x - 20, dy = y - 15;
                            const bool in = dx * dx + dy * dy < 180 && !(dx * dx + dy * dy < 10) && !(x == 30 && y < 20);
                            return in ? black : white;
                        }),
                        true);
    std::mt19937 random(7);
    ExpectBuildersAgree(PictureOf(37, 23, [&](int, int) {
                            return Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                                       static_cast<std::uint8_t>(random())};
                        }),
                        true);
    // A single column and a single row.
    ExpectBuildersAgree(PictureOf(1, 6, [&](int, int y) { return y % 3 ? black : white; }), true);
    ExpectBuildersAgree(PictureOf(6, 1, [&](int x, int) { return x % 3 ? black : white; }), true);
}

TEST(WindowRegion, RowBuilderAndPerPixelBuilderAgreeOnTheGeneratedMaskAndTheRowsAreFaster) {
    const std::optional<RgbPicture> mask = DecodePictureFile(FromWide(Wide(BuiltSkinsDir() / "main_mask.jpg")));
    ASSERT_TRUE(mask) << "the generated skin has no main_mask.jpg";
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    const MaskShape shape = BuildMaskShape(mask, 1, 1);
    const OwnedRegion fast = RegionFromShape(shape);
    const auto t1 = Clock::now();
    const OwnedRegion slow = RegionPixelByPixel(*mask);
    const auto t2 = Clock::now();
    ASSERT_TRUE(fast && slow);
    EXPECT_TRUE(EqualRgn(fast.get(), slow.get()));

    // Mouse-shaped: the corners are cut away, the middle stays, and it is not one rectangle.
    EXPECT_FALSE(PtInRegion(fast.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(fast.get(), mask->width - 1, mask->height - 1));
    EXPECT_TRUE(PtInRegion(fast.get(), mask->width / 2, mask->height / 2));
    EXPECT_GT(shape.rects.size(), 100u);

    // A measurement, not a limit: printed for the record.
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::size_t cut = 0;
    for (int y = 0; y < mask->height; ++y)
        for (int x = 0; x < mask->width; ++x) cut += !KeepsMaskPixel(mask->At(x, y));
    std::printf("[ region ] %dx%d mask, %zu rectangles: rows + ExtCreateRegion %.2f ms; per pixel "
                "(%zu CombineRgn) %.1f ms\n",
                mask->width, mask->height, shape.rects.size(), ms(t1 - t0), cut, ms(t2 - t1));
    RecordProperty("rows_ms", std::to_string(ms(t1 - t0)));
    RecordProperty("per_pixel_ms", std::to_string(ms(t2 - t1)));
}

TEST(WindowRegion, MissingOrUndecodableMaskGivesTheWindowsRectangleAndRepaintRegionLeavesTheEditorOut) {
    ScratchDir dir;
    dir.Write("broken.jpg", "not a picture at all");
    dir.Write("truncated.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10));
    const OwnedRegion expected(CreateRectRgn(0, 0, 533, 395));
    for (const wchar_t* name : {L"\\missing.jpg", L"\\broken.jpg", L"\\truncated.jpg"}) {
        const MaskShape shape = LoadMaskShape(dir.Path() + name, 533, 395);
        EXPECT_EQ(shape.width, 533);
        EXPECT_EQ(shape.height, 395);
        const OwnedRegion region = RegionFromShape(shape);
        EXPECT_TRUE(EqualRgn(region.get(), expected.get())) << name;
    }

    // Left half dark (window), right half light (cut out). The name box inside the window leaves
    // the region; the macro list across the edge leaves it on the left and joins it on the right;
    // the event list lies outside the mask and joins. The repeat-count box is not combined.
    const RgbPicture half = PictureOf(100, 60, [](int x, int) { return x < 50 ? Rgb{} : Rgb{255, 255, 255}; });
    MacroEditorRects editor;
    editor.nameBox = {10, 10, 20, 20};
    editor.macroList = {40, 30, 60, 40};
    editor.eventList = {110, 0, 120, 10};
    editor.repeatCountBox = {0, 50, 10, 60};
    const OwnedRegion repaint = BuildRepaintRegion(BuildMaskShape(half, 1, 1), editor);
    EXPECT_TRUE(PtInRegion(repaint.get(), 5, 5));
    EXPECT_FALSE(PtInRegion(repaint.get(), 15, 15));
    EXPECT_FALSE(PtInRegion(repaint.get(), 45, 35));
    EXPECT_TRUE(PtInRegion(repaint.get(), 55, 35));
    EXPECT_FALSE(PtInRegion(repaint.get(), 55, 45));
    EXPECT_TRUE(PtInRegion(repaint.get(), 115, 5));
    EXPECT_TRUE(PtInRegion(repaint.get(), 5, 55));
}

TEST(PopupGeometry, WidthAndRowsComeFromTheMaskAndNoRowsMeansInvisible) {
    const PopupGeometry menu = PopupGeometryOf(SIZE{180, 305}, kFirstLevelRows, kFirstLevelRows);
    EXPECT_EQ(menu.width, 180);
    EXPECT_EQ(menu.rowHeight, 30);
    EXPECT_EQ(menu.height, 301);
    const PopupGeometry submenu = PopupGeometryOf(SIZE{176, 312}, kSecondLevelRows, 9);
    EXPECT_EQ(submenu.rowHeight, 26);
    EXPECT_EQ(submenu.height, 9 * 26 + 1);
    EXPECT_EQ(PopupGeometryOf(SIZE{176, 312}, kSecondLevelRows, 0).height, 0);
    EXPECT_EQ(PopupGeometryOf(std::nullopt, kFirstLevelRows, kFirstLevelRows).height, 0);

    // The generated skin's masks, decoded.
    const std::wstring skins = Wide(BuiltSkinsDir());
    const PopupGeometry first = FirstLevelPopupGeometry(FromWide(skins));
    const std::optional<SIZE> firstMask = PictureFileSize(skins + L"\\menu_mask.jpg");
    ASSERT_TRUE(firstMask);
    EXPECT_EQ(first.width, firstMask->cx);
    EXPECT_EQ(first.height, 10 * (firstMask->cy / 10) + 1);
    EXPECT_GT(first.rowHeight, 0);
    const PopupGeometry second = SecondLevelPopupGeometry(FromWide(skins), 6);
    const std::optional<SIZE> secondMask = PictureFileSize(skins + L"\\advanced menu_mask.jpg");
    ASSERT_TRUE(secondMask);
    EXPECT_EQ(second.height, 6 * (secondMask->cy / 12) + 1);
}

// A canvas on the screen's DC with its own fonts and cache, drawing pictures from dir.
struct CanvasFixture {
    explicit CanvasFixture(const std::wstring& dir, int canvasWidth = 64, int canvasHeight = 48)
        : skins(dir), width(canvasWidth), height(canvasHeight) {
        english.reset(CreateFontW(15, 7, 0, 0, 400, FALSE, FALSE, FALSE, 0, 2, 1, 0, 0x11, L"Consolas"));
        chinese.reset(CreateFontW(12, 6, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0x20, L"宋体"));
    }
    std::unique_ptr<GdiCanvas> Canvas() {
        return std::make_unique<GdiCanvas>(width, height, cache, skins, english.get(), chinese.get());
    }
    WindowDcScope screen{nullptr};
    std::wstring skins;
    int width = 0, height = 0;
    PictureCache cache;
    OwnedFont english, chinese;
};

TEST(GdiCanvas, DecodesJpegsCopiesOnlyWhatThePictureHasAndDrawsText) {
    ScratchDir dir;
    const Rgb red{220, 30, 30}, blue{30, 40, 210};
    // Left half red, right half blue: a copy must land pixel for pixel.
    ASSERT_TRUE(WriteJpeg(dir.Path() + L"\\halves.jpg", 32, 16, [&](int x, int) { return x < 16 ? red : blue; }));
    const std::optional<RgbPicture> decoded = DecodePictureFile(FromWide(dir.Path() + L"\\halves.jpg"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 32);
    EXPECT_EQ(decoded->height, 16);
    EXPECT_TRUE(Near(RGB(decoded->At(2, 2).red, decoded->At(2, 2).green, decoded->At(2, 2).blue), red));
    EXPECT_TRUE(Near(RGB(decoded->At(29, 13).red, decoded->At(29, 13).green, decoded->At(29, 13).blue), blue));

    CanvasFixture fixture(dir.Path());
    auto canvas = fixture.Canvas();
    ASSERT_TRUE(canvas->Ready());
    canvas->Fill({0, 0, 64, 48}, Rgb{});
    ASSERT_TRUE(canvas->LoadPicture(u"halves.jpg"));
    canvas->CopyPicture(u"halves.jpg", {0, 0, 32, 16}, 10, 20);
    const HDC dc = canvas->Dc();
    EXPECT_TRUE(Near(GetPixel(dc, 12, 22), red));
    EXPECT_TRUE(Near(GetPixel(dc, 40, 34), blue));
    EXPECT_TRUE(Near(GetPixel(dc, 9, 20), Rgb{}, 0));   // left of the copy
    EXPECT_TRUE(Near(GetPixel(dc, 42, 36), Rgb{}, 0));  // below and right of it

    // A source reaching beyond the picture copies only the picture's part; the rest stays.
    canvas->Fill({0, 0, 64, 48}, Rgb{});
    canvas->CopyPicture(u"halves.jpg", {24, 8, 60, 40}, 0, 0);
    EXPECT_TRUE(Near(GetPixel(dc, 2, 2), blue));
    EXPECT_TRUE(Near(GetPixel(dc, 10, 10), Rgb{}, 0));
    EXPECT_TRUE(Near(GetPixel(dc, 30, 30), Rgb{}, 0));
    // Far outside in any direction: nothing, and no failure.
    canvas->CopyPicture(u"halves.jpg", {-1000000000000, -5, -10, 400}, 0, 0);
    canvas->CopyPicture(u"halves.jpg", {100, 100, 200, 200}, 0, 0);
    EXPECT_TRUE(Near(GetPixel(dc, 10, 10), Rgb{}, 0));

    // Text: white on the black canvas, where it was asked for, with a size in the selected font.
    canvas->SelectFont(LanguageMode::English);
    const TextSize size = canvas->MeasureText(u"OK");
    EXPECT_EQ(size.height, 15);
    EXPECT_GT(size.width, 0);
    canvas->WriteText(30, 28, u"OK", Rgb{255, 255, 255});
    int lit = 0;
    for (int y = 28; y < 28 + size.height; ++y)
        for (int x = 30; x < 30 + size.width; ++x) lit += GetRValue(GetPixel(dc, x, y)) > 128;
    EXPECT_GT(lit, 5);
    EXPECT_TRUE(Near(GetPixel(dc, 29 + size.width + 3, 20), Rgb{}, 0));
    // The Chinese font is the smaller one (its face is substituted, so only about its size).
    canvas->SelectFont(LanguageMode::Chinese);
    const TextSize chinese = canvas->MeasureText(u"设置");
    EXPECT_GE(chinese.height, 10);
    EXPECT_LE(chinese.height, 12);
}

TEST(GdiCanvas, AMissingOrBrokenPictureLeavesItsAreaBlankAndThePaintGoesOn) {
    ScratchDir dir;
    // The main page with its normal picture missing and its over picture broken: the page
    // stays black where they would show, the down picture and the texts still arrive.
    const Rgb green{40, 200, 60};
    ASSERT_TRUE(WriteSolidJpeg(dir.Path() + L"\\main_down.jpg", 120, 80, green));
    dir.Write("main_over.jpg", "broken");
    SkinSet skin;
    *skin.main.Find(MainEntry::Tab(WindowPage::Main)) = {10, 10, 30, 20, u""};  // shown down
    *skin.main.Find(MainEntry::kMinimise) = {50, 10, 30, 20, u""};  // hovered: would come from the over picture
    *skin.main.Find(MainEntry::kButtonsHeading) = {10, 40, 100, 20, u"X"};  // a heading's text
    PaintState state;
    state.maskWidth = 120;
    state.maskHeight = 80;
    state.mainHot = MainEntry::kMinimise;
    state.language = LanguageMode::English;

    CanvasFixture fixture(dir.Path(), 120, 80);
    auto canvas = fixture.Canvas();
    // Whatever the canvas held before, the missing normal picture leaves it black.
    canvas->Fill({0, 0, 120, 80}, Rgb{200, 0, 200});
    PaintMainWindow(*canvas, skin, state);
    const HDC dc = canvas->Dc();
    EXPECT_TRUE(Near(GetPixel(dc, 15, 15), green));
    EXPECT_TRUE(Near(GetPixel(dc, 55, 15), Rgb{}, 0));
    EXPECT_TRUE(Near(GetPixel(dc, 100, 75), Rgb{}, 0));
    int lit = 0;
    for (int y = 40; y < 60; ++y)
        for (int x = 10; x < 110; ++x) lit += GetRValue(GetPixel(dc, x, y)) > 128;
    EXPECT_GT(lit, 3) << "the heading's text was not drawn";
}

TEST(GdiCanvas, AChangedPictureFileShowsAtTheNextPaintAndAnUnchangedOneIsNotDecodedAgain) {
    ScratchDir dir;
    const std::wstring path = dir.Path() + L"\\main_normal.jpg";
    const Rgb red{210, 20, 20}, blue{20, 30, 200};
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, red));
    CanvasFixture fixture(dir.Path(), 40, 30);
    const auto paintCentre = [&] {
        auto canvas = fixture.Canvas();
        canvas->Fill({0, 0, 40, 30}, Rgb{});
        if (canvas->LoadPicture(u"main_normal.jpg")) canvas->CopyPicture(u"main_normal.jpg", {0, 0, 40, 30}, 0, 0);
        return GetPixel(canvas->Dc(), 20, 15);
    };
    // While it is held here, a decode would give another picture than this one.
    EXPECT_TRUE(Near(paintCentre(), red));
    const std::shared_ptr<const SkinBitmap> first = fixture.cache.Get(path);
    ASSERT_TRUE(first);
    EXPECT_TRUE(Near(paintCentre(), red));
    EXPECT_EQ(fixture.cache.Get(path), first);

    // The file is rewritten (a moment later, as an editor would): the next paint shows it.
    Sleep(30);
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, blue));
    EXPECT_TRUE(Near(paintCentre(), blue));
    EXPECT_NE(fixture.cache.Get(path), first);
    // Back to the first picture: decoded again too.
    Sleep(30);
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, red));
    EXPECT_TRUE(Near(paintCentre(), red));
    // The file gone: the page is blank at once.
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_TRUE(Near(paintCentre(), Rgb{}, 0));
    // A canvas that holds a picture keeps it even when the cache lets it go.
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, blue));
    auto holder = fixture.Canvas();
    ASSERT_TRUE(holder->LoadPicture(u"main_normal.jpg"));
    Sleep(30);
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, red));
    EXPECT_TRUE(Near(paintCentre(), red));
    holder->CopyPicture(u"main_normal.jpg", {0, 0, 40, 30}, 0, 0);
    EXPECT_TRUE(Near(GetPixel(holder->Dc(), 5, 5), blue));
}

// The colour at (x, y) of a decoded picture's 32-bit rows.
Rgb PixelOf(const SkinBitmap& picture, int x, int y) {
    const std::uint8_t* pixel = picture.bits + (static_cast<std::size_t>(y) * picture.width + x) * 4;
    return {pixel[2], pixel[1], pixel[0]};
}

TEST(PictureCache, APrefetchedPictureIsTheFilesAndAnEditedFileIsDecodedAgain) {
    ScratchDir dir;
    const std::wstring path = dir.Path() + L"\\main_normal.jpg";
    const Rgb red{210, 20, 20}, blue{20, 30, 200};
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, red));
    PictureCache cache;
    cache.Prefetch({path, dir.Path() + L"\\missing.jpg"});
    const std::shared_ptr<const SkinBitmap> picture = cache.Get(path);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(Near(RGB(PixelOf(*picture, 20, 15).red, PixelOf(*picture, 20, 15).green, PixelOf(*picture, 20, 15).blue), red));
    EXPECT_FALSE(cache.Get(dir.Path() + L"\\missing.jpg"));
    Sleep(30);
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, blue));
    const std::shared_ptr<const SkinBitmap> edited = cache.Get(path);
    ASSERT_TRUE(edited);
    EXPECT_TRUE(Near(RGB(PixelOf(*edited, 20, 15).red, PixelOf(*edited, 20, 15).green, PixelOf(*edited, 20, 15).blue), blue));
}

TEST(CanvasSurface, IsKeptForItsSizeAndEachPaintCoversWhatTheLastOneLeft) {
    ScratchDir dir;
    const std::wstring path = dir.Path() + L"\\main_normal.jpg";
    ASSERT_TRUE(WriteSolidJpeg(path, 40, 30, Rgb{210, 20, 20}));
    CanvasSurface surface;
    surface.PrepareInBackground(40, 30);
    const HDC dc = surface.Dc();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(surface.Width(), 40);
    EXPECT_TRUE(surface.Prepare(40, 30));
    EXPECT_EQ(surface.Dc(), dc);

    PictureCache cache;
    SkinSet skin;
    PaintState state;
    state.maskWidth = 40;
    state.maskHeight = 30;
    {
        GdiCanvas canvas(surface, cache, dir.Path(), nullptr, nullptr);
        PaintMainWindow(canvas, skin, state);
    }
    EXPECT_TRUE(Near(GetPixel(surface.Dc(), 20, 15), Rgb{210, 20, 20}));
    // The next paint on the same surface, with the picture gone: black, not the last paint.
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    {
        GdiCanvas canvas(surface, cache, dir.Path(), nullptr, nullptr);
        PaintMainWindow(canvas, skin, state);
    }
    EXPECT_TRUE(Near(GetPixel(surface.Dc(), 20, 15), Rgb{}, 0));

    EXPECT_TRUE(surface.Prepare(50, 20));
    EXPECT_EQ(surface.Width(), 50);
    EXPECT_EQ(surface.Height(), 20);
    EXPECT_FALSE(surface.Prepare(0, 20));
    EXPECT_FALSE(surface.Prepare(kMaxMaskSide + 1, 20));
    EXPECT_EQ(surface.Dc(), nullptr);
}

}  // namespace
