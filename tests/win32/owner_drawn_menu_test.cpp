// The owner-drawn menus: every item of the loaded resources becomes owner-drawn with its text
// and id kept in a record, and items are measured and painted in the menus' colours.
#include <gtest/gtest.h>

#include <string>

#include "platform/handles_win32.h"
#include "resource.h"
#include "skin/menu_look.h"
#include "ui/owner_drawn_menu_win32.h"

namespace {
MENUITEMINFOW InfoOf(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

std::wstring TextOf(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

// Walks the converted menu beside an untouched copy of the same resource; returns the items seen.
int ExpectConvertedLike(HMENU converted, HMENU plain) {
    const int count = GetMenuItemCount(plain);
    EXPECT_EQ(GetMenuItemCount(converted), count);
    int seen = 0;
    for (int i = 0; i < count; ++i) {
        const MENUITEMINFOW got = InfoOf(converted, i);
        const MENUITEMINFOW want = InfoOf(plain, i);
        const auto* record = reinterpret_cast<const HxtMenuItem*>(got.dwItemData);
        EXPECT_TRUE(got.fType & MFT_OWNERDRAW);
        if (!want.hSubMenu) {
            EXPECT_EQ(got.wID, want.wID);
        }
        if (record == nullptr) {
            ADD_FAILURE() << "no record at " << i;
            continue;
        }
        EXPECT_EQ(record->text, TextOf(plain, i));
        EXPECT_EQ(record->id, want.hSubMenu ? -1 : static_cast<int>(want.wID));
        EXPECT_EQ(got.hSubMenu != nullptr, want.hSubMenu != nullptr) << record->text;
        seen += 1 + (got.hSubMenu && want.hSubMenu ? ExpectConvertedLike(got.hSubMenu, want.hSubMenu) : 0);
    }
    return seen;
}

COLORREF Ref(Rgb c) { return RGB(c.red, c.green, c.blue); }
}  // namespace

TEST(MenuOwnerDraw, EveryItemOfEachResourceKeepsItsTextIdAndSubmenu) {
    CHxtMenu menu;  // one object for all: each load must start its records afresh
    for (UINT id : {IDR_MENU_MACRO_EN, IDR_MENU_TRAY_EN, IDR_MENU_MACRO_CN, IDR_MENU_TRAY_CN}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(menu.Load(id));
        OwnedMenu plain(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
        EXPECT_GT(ExpectConvertedLike(menu.Handle(), plain.get()), 2);
        EXPECT_EQ(menu.Popup(), GetSubMenu(menu.Handle(), 0));
    }
}

TEST(MenuOwnerDraw, ItemsBeyondTheRecordsStayOrdinary) {
    OwnedMenu built(CreatePopupMenu());
    for (UINT i = 0; i < 35; ++i) AppendMenuW(built.get(), MF_STRING, 100 + i, (L"item " + std::to_wstring(i)).c_str());
    CHxtMenu menu;
    menu.Adopt(std::move(built));
    EXPECT_TRUE(InfoOf(menu.Handle(), 29).fType & MFT_OWNERDRAW);
    for (int i = 30; i < 35; ++i) {
        const MENUITEMINFOW info = InfoOf(menu.Handle(), i);
        EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ(info.dwItemData, 0u);
        EXPECT_EQ(info.wID, 100u + i);
        EXPECT_EQ(TextOf(menu.Handle(), i), L"item " + std::to_wstring(i));
    }
}

TEST(MenuOwnerDraw, MeasuresAndPaintsGradientTealSeparatorAndWhiteText) {
    HxtMenuItem item{L"Delete", ID_MACRO_DELETE};
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, ID_MACRO_DELETE, 0, 0, reinterpret_cast<ULONG_PTR>(&item)};
    CHxtMenu::MeasureItem(measure);
    EXPECT_EQ(measure.itemWidth, 48u);
    EXPECT_EQ(measure.itemHeight, 20u);
    MEASUREITEMSTRUCT listItem{ODT_LISTBOX, 5, 0, 0, 33, reinterpret_cast<ULONG_PTR>(&item)};
    CHxtMenu::MeasureItem(listItem);
    EXPECT_EQ(listItem.itemHeight, 33u);

    OwnedDC dc(CreateCompatibleDC(nullptr));
    WindowDcScope screen(nullptr);
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.dc(), 120, 45));
    SelectScope keepBitmap(dc.get(), bitmap.get());
    SelectScope keepFont(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    const HGDIOBJ penBefore = GetCurrentObject(dc.get(), OBJ_PEN);

    DRAWITEMSTRUCT draw{ODT_MENU, 0, ID_MACRO_DELETE, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, dc.get(),
                        {0, 0, 120, 20}, reinterpret_cast<ULONG_PTR>(&item)};
    CHxtMenu::DrawItem(draw);
    draw.itemState = 0;
    draw.rcItem = {0, 20, 120, 40};
    CHxtMenu::DrawItem(draw);
    HxtMenuItem separator{L"", 0};
    draw.itemData = reinterpret_cast<ULONG_PTR>(&separator);
    draw.rcItem = {0, 41, 120, 45};
    CHxtMenu::DrawItem(draw);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), penBefore);

    // Selected: inner rows from y 1, right of the text, step 14 in green.
    EXPECT_EQ(GetPixel(dc.get(), 110, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.get(), 110, 6), RGB(0, 70, 255));
    EXPECT_EQ(GetPixel(dc.get(), 110, 18), RGB(0, 238, 255));
    EXPECT_EQ(GetPixel(dc.get(), 110, 30), Ref(menu_colour::kBackground));
    int white = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 10; x < 60; ++x) white += GetPixel(dc.get(), x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 0);  // nothing else in the unselected item is white
    // Separator frame starts 25 px in: red top and left, blue bottom and right.
    EXPECT_EQ(GetPixel(dc.get(), 24, 42), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 25, 42), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 60, 41), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 60, 44), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.get(), 119, 42), RGB(0, 0, 255));
}
