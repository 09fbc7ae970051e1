// Sizes and gradient of the owner-drawn menus.
#include "skin/menu_look.h"

namespace {
constexpr std::int32_t kPixelsPerUnit = 8;
constexpr std::int32_t kItemHeight = 20;
constexpr std::int32_t kSeparatorHeight = 1;

std::uint8_t Channel(std::uint8_t top, std::uint8_t bottom, std::int32_t row, std::int32_t rows) {
    // An item too small to have inner rows keeps the top colour rather than dividing by zero.
    const int step = rows > 0 ? static_cast<int>(static_cast<double>(bottom - top) / rows) : 0;
    return static_cast<std::uint8_t>(top + step * row);  // modulo 256
}
}  // namespace

MenuItemSize MenuItemSizeOf(std::u16string_view text, int id) {
    return {static_cast<std::int32_t>(text.size()) * kPixelsPerUnit,
            id == kMenuSeparatorId ? kSeparatorHeight : kItemHeight};
}

Rgb MenuGradientRow(std::int32_t row, std::int32_t rows) {
    using menu_colour::kGradientBottom;
    using menu_colour::kGradientTop;
    return {Channel(kGradientTop.red, kGradientBottom.red, row, rows),
            Channel(kGradientTop.green, kGradientBottom.green, row, rows),
            Channel(kGradientTop.blue, kGradientBottom.blue, row, rows)};
}
