// The function popups without Windows: the first-level popup whose rows name functions or
// groups, and the submenu a group row opens beside it. Row geometry from the mask pictures'
// sizes, the row under the pointer, what a release chooses, where the submenu goes, and the
// paint composition of either list.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/function_catalogue.h"
#include "core/language.h"
#include "core/macro_limits.h"
#include "skin/canvas_port.h"
#include "skin/skin_description.h"

inline constexpr int kNoRow = 255;

// "menu_mask.jpg" is ten rows high, "advanced menu_mask.jpg" twelve.
inline constexpr int kPopupRowsInMask = 10;
inline constexpr int kSubmenuRowsInMask = 12;
// The popup also answers for the pixel line below its tenth row (row 11) and one row below
// that (row 12), which choose nothing.
inline constexpr int kPopupHitRows = 12;

struct MaskSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Rows of one list, stacked from the top, each rowHeight high and width wide. A mask that is
// missing or unreadable (size 0) gives a list of size 0 that no point hits.
class PopupRows {
public:
    PopupRows() = default;
    // shownRows are drawn; hitRows (at least shownRows) answer the pointer.
    PopupRows(MaskSize mask, int rowsInMask, int shownRows, int hitRows);

    std::int32_t Width() const { return width_; }
    std::int32_t RowHeight() const { return rowHeight_; }
    int ShownRows() const { return shownRows_; }
    // Client height: the shown rows and one pixel line below them; 0 without rows.
    std::int32_t Height() const;
    // The first row 1..hitRows holding the point, kNoRow when none does.
    int RowAt(std::int64_t x, std::int64_t y) const;

private:
    std::int32_t width_ = 0;
    std::int32_t rowHeight_ = 0;
    int shownRows_ = 0;
    int hitRows_ = 0;
};

// The row under the pointer and whether the left button went down inside the list.
class PopupPointer {
public:
    explicit PopupPointer(PopupRows rows) : rows_(rows) {}

    const PopupRows& Rows() const { return rows_; }
    int HotRow() const { return hot_; }
    bool Pressed() const { return pressed_; }

    // True when the hot row changed, so the list repaints.
    bool MouseMove(std::int64_t x, std::int64_t y);
    void Press() { pressed_ = true; }
    // Clears the pressed state; the hot row stays.
    void Release() { pressed_ = false; }

private:
    PopupRows rows_;
    int hot_ = kNoRow;
    bool pressed_ = false;
};

// The group a first-level row opens (rows 7 to 10); PopupGroup::None for any other row.
PopupGroup SubmenuGroupOfRow(int row);
// Rows of a group's submenu; the macro group shows one per macro (0 to 12).
int SubmenuRowCount(PopupGroup group, int macroCount);
// The code a first-level release chooses: rows 1 to 6 are functions; group rows, the rows
// below the tenth and no row choose nothing.
std::optional<std::int32_t> PopupChoice(int row);
// The code a submenu release chooses.
std::optional<std::int32_t> SubmenuChoice(PopupGroup group, int row, int macroCount);

// Where the submenu of popup row `row` goes, in screen coordinates, from the popup window's
// top-left corner: beside the popup, placed so the group's rows line up with it.
struct ScreenPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};
ScreenPoint SubmenuOrigin(ScreenPoint popupTopLeft, const PopupRows& popup, int row, int macroCount);

// What the popups show: the skin's function names and the macros as they were at the opening.
struct PopupTexts {
    const FunctionNameTable& functionNames;
    std::array<std::u16string, kMaxMacros> macroNames{};
    int macroCount = 0;
};

std::vector<std::u16string> PopupRowTexts(const PopupTexts& texts);
std::vector<std::u16string> SubmenuRowTexts(const PopupTexts& texts, PopupGroup group);

struct ListPictures {
    std::u16string_view normal;
    std::u16string_view over;
    std::u16string_view down;
};
inline constexpr ListPictures kPopupPictures{u"menu_normal.jpg", u"menu_over.jpg", u"menu_down.jpg"};
inline constexpr ListPictures kSubmenuPictures{u"advanced menu_normal.jpg", u"advanced menu_over.jpg",
                                               u"advanced menu_down.jpg"};

// One paint of a list on a canvas of Rows().Width() x Rows().Height(): the normal picture, the
// hot row's strip from the down (pressed) or over picture, then the row texts centred, the hot
// one red and the others white. A list of size 0 draws nothing.
void PaintPopupList(CanvasPort& canvas, const PopupPointer& pointer, const std::vector<std::u16string>& texts,
                    const ListPictures& pictures, LanguageMode language);
