// Owner-drawn menus: turning a loaded menu's items owner-drawn and measuring and drawing them.
#include "ui/owner_drawn_menu_win32.h"

#include "platform/window_framework_win32.h"
#include "skin/menu_look.h"

namespace {
constexpr int kSeparatorIndent = 25;
constexpr int kTextIndent = 10;

COLORREF ColourOf(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

// An opaque rectangle in one colour, without a brush; the DC's background colour comes back.
void FillSolid(HDC dc, int x, int y, int width, int height, Rgb colour) {
    const COLORREF previous = SetBkColor(dc, ColourOf(colour));
    const RECT area{x, y, x + width, y + height};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

// A 1-pixel 3-D frame: top and left edges in one colour, bottom and right in the other.
void Draw3dFrame(HDC dc, const RECT& r, Rgb topLeft, Rgb bottomRight) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    FillSolid(dc, r.left, r.top, width - 1, 1, topLeft);
    FillSolid(dc, r.left, r.top, 1, height - 1, topLeft);
    FillSolid(dc, r.right - 1, r.top, 1, height, bottomRight);
    FillSolid(dc, r.left, r.bottom - 1, width, 1, bottomRight);
}

// The selected item: a rectangle in the DC's pen and brush, then one line per gradient row inside.
void DrawSelection(HDC dc, const RECT& r) {
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    const int rows = inner.bottom - inner.top;
    for (int row = 0; row < rows; ++row) {
        OwnedPen pen(CreatePen(PS_SOLID, 1, ColourOf(MenuGradientRow(row, rows))));
        SelectScope selected(dc, pen.get());
        MoveToEx(dc, inner.left, inner.top + row, nullptr);
        LineTo(dc, inner.right, inner.top + row);
    }
}

// A check item's mark, a tick in the text's indent, in the text's colour.
void DrawCheckMark(HDC dc, const RECT& r) {
    OwnedPen pen(CreatePen(PS_SOLID, 2, ColourOf(menu_colour::kText)));
    SelectScope selected(dc, pen.get());
    const int middle = (r.top + r.bottom) / 2;
    MoveToEx(dc, r.left + 1, middle, nullptr);
    LineTo(dc, r.left + 4, middle + 3);
    LineTo(dc, r.left + 9, middle - 4);
}

const HxtMenuItem* RecordOf(ULONG_PTR itemData) { return reinterpret_cast<const HxtMenuItem*>(itemData); }
}  // namespace

bool CHxtMenu::Load(UINT resourceId) {
    OwnedMenu loaded(LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(resourceId)));
    if (!loaded) return false;
    Adopt(std::move(loaded));
    return true;
}

void CHxtMenu::Adopt(OwnedMenu menu) {
    // The old menu goes before its records are reused, so no live item points at a new record.
    menu_ = std::move(menu);
    used_ = 0;
    if (menu_) ConvertToOwnerDraw(menu_.get());
}

HMENU CHxtMenu::Popup() const { return menu_ ? GetSubMenu(menu_.get(), 0) : nullptr; }

void CHxtMenu::ConvertToOwnerDraw(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count && used_ < items_.size(); ++position) {
        HxtMenuItem& record = items_[used_++];
        const int length = GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
        record.text.assign(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const int copied = GetMenuStringW(menu, position, record.text.data(), length + 1, MF_BYPOSITION);
        record.text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        record.id = static_cast<int>(GetMenuItemID(menu, position));

        const auto data = reinterpret_cast<LPCWSTR>(&record);
        if (HMENU submenu = GetSubMenu(menu, position)) {
            // Without MF_POPUP and the submenu as the id, the item would lose its submenu.
            ModifyMenuW(menu, position, MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(submenu), data);
            ConvertToOwnerDraw(submenu);
        } else {
            ModifyMenuW(menu, position, MF_BYPOSITION | MF_OWNERDRAW, static_cast<UINT>(record.id), data);
        }
    }
}

void CHxtMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
    const HxtMenuItem* record = RecordOf(item.itemData);
    if (item.CtlType != ODT_MENU || record == nullptr) return;
    const MenuItemSize size = MenuItemSizeOf(
        std::u16string_view(reinterpret_cast<const char16_t*>(record->text.data()), record->text.size()), record->id);
    item.itemWidth = static_cast<UINT>(size.width);
    item.itemHeight = static_cast<UINT>(size.height);
}

void CHxtMenu::DrawItem(const DRAWITEMSTRUCT& item) {
    const HxtMenuItem* record = RecordOf(item.itemData);
    if (item.CtlType != ODT_MENU || record == nullptr) return;
    HDC dc = item.hDC;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc, ColourOf(menu_colour::kText));

    if (record->id == kMenuSeparatorId) {
        RECT frame = item.rcItem;
        frame.left += kSeparatorIndent;
        Draw3dFrame(dc, frame, menu_colour::kSeparatorTopLeft, menu_colour::kSeparatorBottomRight);
    } else {
        const RECT& r = item.rcItem;
        if (item.itemState & ODS_SELECTED) {
            DrawSelection(dc, r);
        } else {
            FillSolid(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, menu_colour::kBackground);
        }
        if (item.itemState & ODS_CHECKED) DrawCheckMark(dc, r);
        RECT textArea = r;
        textArea.left += kTextIndent;
        DrawTextW(dc, record->text.c_str(), static_cast<int>(record->text.size()), &textArea,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }

    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
}
