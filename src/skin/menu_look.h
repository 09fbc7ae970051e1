// The look of the program's owner-drawn menus: how large an item is and which colours it is
// drawn in. White text on dark teal; the selected item gets a blue-to-cyan gradient.
#pragma once

#include <cstdint>
#include <string_view>

#include "skin/mask_region.h"

// The id a separator's record carries (-1 for an item that opens a submenu).
inline constexpr int kMenuSeparatorId = 0;

struct MenuItemSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const MenuItemSize&) const = default;
};

// 8 pixels per UTF-16 unit of the text (trailing spaces too) by 20; a separator is 1 high.
MenuItemSize MenuItemSizeOf(std::u16string_view text, int id);

namespace menu_colour {
inline constexpr Rgb kText{255, 255, 255};
inline constexpr Rgb kBackground{0, 120, 153};
inline constexpr Rgb kGradientTop{0, 0, 255};
inline constexpr Rgb kGradientBottom{0, 255, 255};
inline constexpr Rgb kSeparatorTopLeft{255, 0, 0};
inline constexpr Rgb kSeparatorBottomRight{0, 0, 255};
}  // namespace menu_colour

// Row `row` (0 = top) of the selected item's gradient over rows rows (the item's inner height).
// Each channel steps by (bottom - top) / rows, truncated toward zero, so the last row stops short
// of the bottom colour; values wrap modulo 256.
Rgb MenuGradientRow(std::int32_t row, std::int32_t rows);
