// The program's pop-up menus, drawn by the program itself: white text on dark teal, a
// blue-to-cyan gradient under the selected item.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>

#include "platform/handles_win32.h"

// What an owner-drawn item keeps, since the menu forgets the text once the item is owner-drawn.
// Its address is the item's data, so records never move while the menu exists.
struct HxtMenuItem {
    std::wstring text;
    int id = 0;  // the command id; -1 for an item that opens a submenu, 0 for a separator
};

class CHxtMenu {
public:
    // Items beyond this many stay ordinary items.
    static constexpr std::size_t kMaxItems = 30;

    CHxtMenu() = default;
    CHxtMenu(const CHxtMenu&) = delete;
    CHxtMenu& operator=(const CHxtMenu&) = delete;

    // Loads a menu resource (replacing any menu loaded before) and makes its items owner-drawn.
    // False when the resource does not exist.
    bool Load(UINT resourceId);
    // The same for a menu built elsewhere; the object owns it from now on.
    void Adopt(OwnedMenu menu);

    HMENU Handle() const { return menu_.get(); }
    // Its first submenu: what shows when the menu pops up; null before a load.
    HMENU Popup() const;

    // WM_MEASUREITEM and WM_DRAWITEM of any of our menus: the item's record is in its data, so
    // one routine serves every menu. Items of other kinds, and items without a record, are left
    // alone.
    static void MeasureItem(MEASUREITEMSTRUCT& item);
    static void DrawItem(const DRAWITEMSTRUCT& item);

private:
    // Every item of menu, depth first, while records last.
    void ConvertToOwnerDraw(HMENU menu);

    OwnedMenu menu_;
    std::array<HxtMenuItem, kMaxItems> items_{};
    std::size_t used_ = 0;
};
