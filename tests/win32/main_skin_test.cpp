// The main window with the generated skin: its mouse-shaped outline, the painted page, hover and
// press on the page tabs, and the close control that hides the window to the tray.
#include <gtest/gtest.h>

#include "app/main_dialog_win32.h"
#include "win32/window_ports.h"
#include "app/startup.h"
#include "config/program_state.h"
#include "core/press_handoff.h"
#include "ui/tray_win32.h"
#include "resource.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/picture_decoder.h"
#include "skin/skin_entries.h"
#include "skin/window_region_win32.h"
#include "win32/skin_support.h"
#include "win32/support.h"

namespace {


COLORREF ScreenPixel(HWND window, int x, int y) {
    WindowDcScope dc(window);
    return GetPixel(dc.dc(), x, y);
}

Rgb PictureAt(const RgbPicture& picture, int x, int y) { return picture.At(x, y); }

int Difference(Rgb a, Rgb b) {
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

// Inside entry, away from its centred text, the point where two pictures differ most.
POINT MostDifferentPoint(const SkinEntry& entry, const RgbPicture& a, const RgbPicture& b) {
    POINT best{entry.x, entry.y};
    int bestDifference = -1;
    for (int y = entry.y + 1; y < entry.y + entry.height - 1; ++y) {
        if (y > entry.y + entry.height / 4 && y < entry.y + entry.height * 3 / 4) continue;
        for (int x = entry.x + 1; x < entry.x + entry.width - 1; ++x) {
            const int d = Difference(a.At(x, y), b.At(x, y));
            if (d > bestDifference) best = {x, y}, bestDifference = d;
        }
    }
    return best;
}

void Move(HWND window, POINT p) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
void Click(HWND window, POINT p) {
    Move(window, p);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}
POINT Centre(const SkinEntry& e) { return {e.x + e.width / 2, e.y + e.height / 2}; }

class MainSkinWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(BuiltSkinsDir() / "INI_EN" / "skin_main_en.ini"))
            << "the generated skin is missing beside the test program";
        CopyBuiltSkins(dir.Path());
        dir.Write("config.ini",
                  "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n"
                  "[Config2]\r\nK1=1\r\nDPI_LEVEL=1\r\nDPI_SET_EN1=1\r\nDPI_SET_EN2=1\r\nWHEEL_SPEED=3\r\n"
                  "[Config6]\r\nK1=1\r\nDPI_LEVEL=0\r\nDPI_SET_EN1=1\r\nWHEEL_SPEED=7\r\n");
        services.program.paths.ProgramDir = FromWide(dir.Path());
        skins = dir.Path() + L"\\skins";
        ASSERT_TRUE(dialog.Create());
        window = dialog.Hwnd();
        UpdateWindow(window);
        const auto load = [&](const wchar_t* name) {
            std::optional<RgbPicture> p = DecodePictureFile(FromWide(skins + L"\\" + name));
            return p ? *p : RgbPicture{};
        };
        mainNormal = load(L"main_normal.jpg");
        mainOver = load(L"main_over.jpg");
        mainDown = load(L"main_down.jpg");
        advancedNormal = load(L"advanced_normal.jpg");
        ASSERT_TRUE(mainNormal.Valid() && mainOver.Valid() && mainDown.Valid() && advancedNormal.Valid());
    }
    void TearDown() override {
        if (IsWindow(window)) SendMessageW(window, WM_CLOSE, 0, 0);
    }

    ProgramServices services;
    ScratchDir dir;
    std::wstring skins;
    OwnWindowPorts ports;
    CHXT_GMouseDlg dialog{services, ports.Ports()};
    HWND window = nullptr;
    RgbPicture mainNormal, mainOver, mainDown, advancedNormal;
};

TEST_F(MainSkinWindow, TakesTheMasksOutlineAndPaintsTheMainPage) {
    const MaskShape shape = LoadMaskShape(skins + L"\\main_mask.jpg", 1, 1);
    OwnedRegion expected = RegionFromShape(shape);
    OwnedRegion actual(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, actual.get()), ERROR);
    EXPECT_TRUE(EqualRgn(actual.get(), expected.get()));
    EXPECT_EQ(services.program.paths.MaskImagePath, FromWide(skins + L"\\main_mask.jpg"));
    EXPECT_EQ(dialog.View().MaskSize().cx, shape.width);
    EXPECT_EQ(dialog.View().MaskSize().cy, shape.height);

    // The repaint region is the outline without the macro editor's name box and two lists,
    // from the advanced description; the repeat-count box stays in it.
    const MacroEditorRects& editor = dialog.View().Skin().editorRects;
    const HRGN repaint = dialog.View().RepaintRegion();
    ASSERT_NE(repaint, nullptr);
    for (const PixelRect& out : {editor.nameBox, editor.macroList, editor.eventList}) {
        ASSERT_FALSE(out.Empty());
        EXPECT_FALSE(PtInRegion(repaint, static_cast<int>(out.left + 1), static_cast<int>(out.top + 1)));
        EXPECT_TRUE(PtInRegion(actual.get(), static_cast<int>(out.left + 1), static_cast<int>(out.top + 1)));
    }
    EXPECT_TRUE(PtInRegion(repaint, static_cast<int>(editor.repeatCountBox.left + 1),
                           static_cast<int>(editor.repeatCountBox.top + 1)));
    EXPECT_FALSE(PtInRegion(repaint, 0, 0));

    // The current page's tab is shown down; the window shows the composed page, not a placeholder.
    const SkinEntry tab = dialog.View().Skin().main.At(MainEntry::Tab(WindowPage::Main));
    ASSERT_GT(tab.width, 0);
    const POINT p = MostDifferentPoint(tab, mainNormal, mainDown);
    EXPECT_TRUE(Near(ScreenPixel(window, p.x, p.y), PictureAt(mainDown, p.x, p.y)));
    // A point of the page outside every entry shows the normal picture.
    const int x = shape.width / 2, y = shape.height - 40;
    EXPECT_TRUE(Near(ScreenPixel(window, x, y), PictureAt(mainNormal, x, y)));
}

TEST_F(MainSkinWindow, HoverAndPressShowTheOverAndDownPicturesAndTabsSwitchPages) {
    const SkinSet& skin = dialog.View().Skin();
    const SkinEntry advancedTab = skin.main.At(MainEntry::Tab(WindowPage::Advanced));
    const POINT p = MostDifferentPoint(advancedTab, mainNormal, mainOver);
    ASSERT_GT(Difference(mainNormal.At(p.x, p.y), mainOver.At(p.x, p.y)), 40) << "the tab looks alike hovered";
    EXPECT_TRUE(Near(ScreenPixel(window, p.x, p.y), PictureAt(mainNormal, p.x, p.y)));
    Move(window, p);
    EXPECT_EQ(dialog.View().Model().MainHot(), MainEntry::Tab(WindowPage::Advanced));
    EXPECT_TRUE(Near(ScreenPixel(window, p.x, p.y), PictureAt(mainOver, p.x, p.y)));

    // Pressing the tab shows the advanced page; its tab is then the current one.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(dialog.View().Page(), WindowPage::Advanced);
    EXPECT_TRUE(dialog.View().Model().Pressed());
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_FALSE(dialog.View().Model().Pressed());
    UpdateWindow(window);
    int agreeing = 0, tested = 0;
    for (int y = 140; y < 420; y += 23) {
        for (int x = 100; x < 700; x += 37) {
            if (Difference(advancedNormal.At(x, y), mainNormal.At(x, y)) < 60) continue;
            ++tested;
            agreeing += Near(ScreenPixel(window, x, y), advancedNormal.At(x, y), 30);
        }
    }
    ASSERT_GT(tested, 10);
    EXPECT_GT(agreeing, tested * 8 / 10) << agreeing << " of " << tested;

    Click(window, Centre(skin.main.At(MainEntry::Tab(WindowPage::Colour))));
    EXPECT_EQ(dialog.View().Page(), WindowPage::Colour);
    // The window's timer steps the LED preview on: a flashing mode goes dark in its first step.
    const LedPreview& preview = dialog.View().Preview();
    ASSERT_TRUE(preview.Running());
    const bool offAtFirst = preview.Off();
    EXPECT_TRUE(PumpUntil([&] { return preview.Off() != offAtFirst; }, 10000));
    Click(window, Centre(skin.main.At(MainEntry::Tab(WindowPage::Main))));
    EXPECT_EQ(dialog.View().Page(), WindowPage::Main);
    EXPECT_TRUE(PumpUntil([&] { return !preview.Running(); }, 10000));
}

TEST_F(MainSkinWindow, TheCloseControlKeepsTheStageDropsEditsAndHidesToTheTrayUntilADoubleClick) {
    ProgramState& program = services.program;
    EXPECT_EQ(program.config.WHEEL_SPEED, 3);
    program.config.WHEEL_SPEED = 9;  // an edit not applied
    const SkinEntry close = dialog.View().Skin().main.At(MainEntry::kClose);
    ASSERT_GT(close.width, 0);
    Click(window, Centre(close));

    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(dialog.View().Model().MainHot(), kNoEntry);
    // Config6 came back, with the stage the window had saved into it first.
    EXPECT_EQ(program.config.WHEEL_SPEED, 7);
    EXPECT_EQ(program.config.DPI_LEVEL, 1);
    EXPECT_EQ(program.CurConfig, 2);
    wchar_t saved[8] = {};
    GetPrivateProfileStringW(L"Config6", L"DPI_LEVEL", L"", saved, 8, (dir.Path() + L"\\config.ini").c_str());
    EXPECT_STREQ(saved, L"1");

    // The tray answers only for its own icon; a double click brings the window back.
    EXPECT_EQ(SendMessageW(window, kTrayNotifyMessage, kTrayIconId + 1, WM_LBUTTONDBLCLK), 1);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(SendMessageW(window, kTrayNotifyMessage, kTrayIconId, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));

    // The tray control hides it too, and the menu's "Show Window" brings it back.
    Click(window, Centre(dialog.View().Skin().main.At(MainEntry::kTray)));
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageW(window, WM_COMMAND, ID_TRAY_SHOW, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    // "Exit Driver" of the Chinese menu ends the program like the English one.
    SendMessageW(window, WM_COMMAND, ID_TRAY_EXIT_CN, 0);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
