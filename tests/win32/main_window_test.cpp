// The main window's start-up against a real config.ini: title and font by language, the About
// entry of the system menu, the icon, the skin's painting and closing.
#include <gtest/gtest.h>

#include "app/main_dialog_win32.h"
#include "win32/window_ports.h"
#include "app/startup.h"
#include "config/program_state.h"
#include "app/ui_fonts_win32.h"
#include "resource.h"
#include "win32/skin_support.h"
#include "win32/support.h"

namespace {
LOGFONTW LogFontOf(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}


// The last item of a menu: its text and id.
std::pair<std::wstring, UINT> LastItem(HMENU menu) {
    const int last = GetMenuItemCount(menu) - 1;
    wchar_t text[64] = {};
    GetMenuStringW(menu, last, text, 64, MF_BYPOSITION);
    return {text, GetMenuItemID(menu, last)};
}
}  // namespace

class MainWindow : public ::testing::TestWithParam<int> {};

TEST_P(MainWindow, StartsFromTheConfigurationAndClosesOnWmClose) {
    const bool english = GetParam() == 1;
    ScratchDir dir;
    dir.Write("config.ini", "[Init]\r\nCurConfig=3\r\nVER_SEL=" + std::to_string(GetParam()) +
                                "\r\n[Config3]\r\nK1=1\r\nDPI_LEVEL=2\r\n");
    CopyBuiltSkins(dir.Path());  // without it the skin loader reports each missing file
    ProgramServices services;
    ProgramState& program = services.program;
    program.paths.ProgramDir = FromWide(dir.Path());

    OwnWindowPorts ports;

    CHXT_GMouseDlg dialog(services, ports.Ports());
    ASSERT_TRUE(dialog.Create());
    const HWND hwnd = dialog.Hwnd();

    EXPECT_EQ(program.CurConfig, 3);
    EXPECT_EQ(program.config.DPI_LEVEL, 2);
    EXPECT_EQ(program.paths.ConfigIniPath, FromWide(dir.Path() + L"\\config.ini"));
    EXPECT_EQ(program.paths.SkinsDir, FromWide(dir.Path() + L"\\skins"));
    EXPECT_EQ(TitleOf(hwnd), english ? L"K-R7T GAMING MOUSE" : L"KestrixK-R7T游戏鼠标");
    EXPECT_EQ(dialog.CurrentUiFont(), english ? dialog.EnglishUiFont() : dialog.ChineseUiFont());
    EXPECT_EQ(LogFontOf(dialog.EnglishUiFont()).lfHeight, 15);
    EXPECT_EQ(LogFontOf(dialog.ChineseUiFont()).lfHeight, 12);

    const auto about = LastItem(GetSystemMenu(hwnd, FALSE));
    EXPECT_EQ(about.first, L"&About HXT_GMouse...");
    EXPECT_EQ(about.second, static_cast<UINT>(IDM_ABOUTBOX));

    // The macro editor's menu of the language is owner-drawn; the window measures its items.
    MENUITEMINFOW first{};
    first.cbSize = sizeof(first);
    first.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(dialog.EditMenuPopup(), 0, TRUE, &first));
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0, 0, 0, first.dwItemData};
    SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, english ? 88u : 64u);  // "Add Forward", "项前插入    "

    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0)), icon);

    // The skin paints the dark page in the middle of the window.
    UpdateWindow(hwnd);
    const SIZE mask = dialog.View().MaskSize();
    HDC dc = GetDC(hwnd);
    const COLORREF middle = GetPixel(dc, mask.cx / 2, mask.cy - 40);
    ReleaseDC(hwnd, dc);
    ASSERT_NE(middle, CLR_INVALID);
    EXPECT_LT(GetRValue(middle) + GetGValue(middle) + GetBValue(middle), 3 * 64);

    // Enter and Esc leave the window alone; WM_CLOSE ends it.
    SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainWindow, ::testing::Values(0, 1));

TEST(MainWindow, AboutBoxRunsModallyFromTheSystemMenuAndClosesWithOk) {
    ScratchDir dir;
    dir.Write("config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n");
    CopyBuiltSkins(dir.Path());
    ProgramServices services;
    services.program.paths.ProgramDir = FromWide(dir.Path());
    OwnWindowPorts ports;
    CHXT_GMouseDlg dialog(services, ports.Ports());
    ASSERT_TRUE(dialog.Create());

    // While the About box runs its own loop, a timer presses its OK button.
    static HWND main;
    static bool mainDisabled;
    static bool aboutSeen;
    main = dialog.Hwnd();
    mainDisabled = aboutSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND about = FindWindowW(nullptr, L"About HXT_GMouse")) {
            aboutSeen = true;
            mainDisabled = !IsWindowEnabled(main);
            PostMessageW(about, WM_COMMAND, IDOK, 0);
        }
    });
    SendMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(aboutSeen);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(FindWindowW(nullptr, L"About HXT_GMouse"), nullptr);
}
