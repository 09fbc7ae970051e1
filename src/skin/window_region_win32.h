// Window shapes as GDI regions: the outline of a skinned window from its mask picture, the main
// window's repaint region, and the sizes of the two function popups, which only take their size
// from their masks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles_win32.h"
#include "skin/mask_region.h"
#include "skin/skin_description.h"

// The shape's rectangles in one ExtCreateRegion call; an empty shape gives an empty region.
OwnedRegion RegionFromShape(const MaskShape& shape);

// The mask's shape read from a picture file; a missing or undecodable file gives a plain
// rectangle of the fallback size (the window's own size).
MaskShape LoadMaskShape(const std::wstring& path, std::int32_t fallbackWidth, std::int32_t fallbackHeight,
                        bool mustMatchFallback = false);

// The main window's region for repaints of the advanced page: the outline with the macro name
// box, the event list and the macro list combined in by exclusive or, so painting leaves those
// controls alone. The repeat-count box is not taken out.
OwnedRegion BuildRepaintRegion(const MaskShape& shape, const MacroEditorRects& editor);

// Gives a window the shape (SetWindowRgn with redraw).
void SetWindowShape(HWND window, const MaskShape& shape);

// Gives a window its shape from a mask picture file (SetWindowRgn with redraw). Returns the
// shape, whose size is what the window paints.
MaskShape ShapeWindowFromMask(HWND window, const std::wstring& maskPath, std::int32_t fallbackWidth,
                              std::int32_t fallbackHeight, bool mustMatchFallback = false);

// The size of a decoded picture file; nothing when it is missing or undecodable.
std::optional<SIZE> PictureFileSize(const std::wstring& path);

// A function popup: a plain rectangle as wide as its mask, rowCount rows of (mask height /
// rowsInMask) pixels and one more pixel row below them; no rows give an empty, invisible popup.
struct PopupGeometry {
    std::int32_t width = 0;
    std::int32_t rowHeight = 0;
    std::int32_t height = 0;
};
constexpr int kFirstLevelRows = 10;   // "menu_mask.jpg" holds ten rows
constexpr int kSecondLevelRows = 12;  // "advanced menu_mask.jpg" holds twelve
PopupGeometry PopupGeometryOf(std::optional<SIZE> mask, int rowsInMask, int rowCount);
// The popup's size from its mask file: the first level shows all its ten rows, the second level
// as many as its group has.
PopupGeometry FirstLevelPopupGeometry(const std::u16string& skinsDir);
PopupGeometry SecondLevelPopupGeometry(const std::u16string& skinsDir, int rowCount);
// The popup's window region: the rectangle of its geometry (redraw requested).
void ShapePopup(HWND popup, const PopupGeometry& geometry);

inline constexpr wchar_t kMainMaskPicture[] = L"main_mask.jpg";
inline constexpr wchar_t kWarningMaskPicture[] = L"warning_mask.jpg";
inline constexpr wchar_t kMenuMaskPicture[] = L"menu_mask.jpg";
inline constexpr wchar_t kSubmenuMaskPicture[] = L"advanced menu_mask.jpg";
