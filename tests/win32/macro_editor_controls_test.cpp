// The macro editor's controls on a stand-in main window: where and how Create puts them, the
// fills and selections, the line under the cursor, and nothing left after Destroy. A picture of
// them in the skin's colours (disabled repeat box, open line editor) goes to screenshots.
#include <gtest/gtest.h>

#include "skin/canvas_gdi_win32.h"
#include "ui/macro_editor_controls_win32.h"
#include "win32/skin_support.h"
#include "win32/support.h"

namespace {
HFONT Font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {  // as the main window answers
        return reinterpret_cast<LRESULT>(ColourChildControl(reinterpret_cast<HDC>(w), Font()));
    }
    return DefWindowProcW(hwnd, message, w, l);
}
}  // namespace

TEST(MacroEditorControls, CreatedAtTheSkinsRectanglesFilledHitAndDestroyed) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"HxtMacroEditorMain";
    RegisterClassW(&wc);
    const HWND main = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 520, 320, 0, 0, 0, 0);
    const MacroEditorRects rects{{300, 20, 360, 40}, {20, 20, 200, 44}, {20, 60, 200, 300}, {220, 60, 500, 300}};
    int menus = 0;
    MacroEditorControlsWin32 controls([&] { return main; }, rects, Font, [&] { ++menus; });
    controls.SetEventLines({u"early"}, 0);  // before Create: nothing to fill
    EXPECT_EQ(controls.EventLineCount(), 0);

    controls.Create();
    controls.Create();
    const struct { int id; const wchar_t* windowClass; PixelRect rect; LONG style; } expected[] = {
        {kNameBoxId, L"Edit", rects.nameBox, ES_CENTER},
        {kRepeatCountBoxId, L"Edit", rects.repeatCountBox, ES_CENTER},
        {kMacroListId, L"ListBox", rects.macroList, LBS_NOTIFY},
        {kEventListId, L"ListBox", rects.eventList, LBS_NOTIFY}};
    int children = 0;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 4);
    for (const auto& e : expected) {
        const HWND control = GetDlgItem(main, e.id);
        ASSERT_NE(control, nullptr) << e.id;
        wchar_t name[32] = {};
        GetClassNameW(control, name, 32);
        EXPECT_EQ(_wcsicmp(name, e.windowClass), 0) << e.id;
        RECT at{};
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&at), 2);
        const PixelRect placed{at.left, at.top, at.right, at.bottom};
        EXPECT_EQ(placed, e.rect) << e.id;
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        EXPECT_EQ(style & (e.style | LBS_SORT), e.style) << e.id;  // lists unsorted (LBS_SORT is not an edit style)
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), Font()) << e.id;
    }

    controls.SetMacroNames({u"zeta", u"alpha"});
    controls.SelectMacroItem(1);
    EXPECT_EQ(controls.MacroItemText(0), u"zeta");
    EXPECT_EQ(controls.SelectedMacroItem(), 1);
    controls.SelectMacroItem(-1);
    EXPECT_EQ(controls.SelectedMacroItem(), -1);
    controls.SetNameText(u"\u5b8f one");
    EXPECT_EQ(controls.NameText(), u"\u5b8f one");
    controls.SetRepeatText(u"12", false);
    EXPECT_EQ(controls.RepeatText(), u"12");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, kRepeatCountBoxId)));

    std::vector<std::u16string> lines;
    for (char16_t c = u'A'; c < u'A' + 40; ++c) lines.push_back(u"event " + std::u16string(1, c));
    controls.SetEventLines(lines, 2);
    EXPECT_EQ(controls.SelectedEventLineText(), u"event C");
    const HWND events = GetDlgItem(main, kEventListId);
    controls.AppendEventLines({u"last"}, 40);
    EXPECT_EQ(controls.SelectedEventLineText(), u"last");
    EXPECT_GT(SendMessageW(events, LB_GETTOPINDEX, 0, 0), 0);  // scrolled to it
    controls.AppendEventLines({}, 99);
    EXPECT_EQ(controls.SelectedEventLineText(), u"");

    SendMessageW(events, LB_SETTOPINDEX, 5, 0);
    const auto height = static_cast<int>(SendMessageW(events, LB_GETITEMHEIGHT, 0, 0));
    POINT cursor{4, 2 * height + height / 2};
    ClientToScreen(events, &cursor);
    SetCursorPos(cursor.x, cursor.y);
    const EventListHit hit = controls.HitEventList();
    EXPECT_TRUE(hit.line == 7 && hit.inside && hit.lineCount == 41) << hit.line << " " << hit.lineCount;
    SetCursorPos(cursor.x - 10, cursor.y);
    EXPECT_FALSE(controls.HitEventList().inside);

    SendMessageW(events, LB_SETCURSEL, 8, 0);
    controls.BeginDelayEdit();
    EXPECT_NE(GetDlgItem(events, kLineEditorId), nullptr);
    controls.ShowEventMenu();
    EXPECT_EQ(menus, 1);
    PumpUntil([] { return false; }, 200);
    RECT shown{};
    GetWindowRect(main, &shown);
    EXPECT_TRUE(SaveScreenPng(shown, TestProgramDir() / "screenshots" / "macro-editor-controls.png"));

    controls.Destroy();
    controls.Destroy();
    EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr);
    EXPECT_EQ(controls.NameText(), u"");
    DestroyWindow(main);
}
