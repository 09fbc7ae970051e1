// Draws the placeholder face: background, a teal outline of a mouse and two lines of text.
#include "app/placeholder_face_win32.h"

#include "platform/handles_win32.h"

namespace {
constexpr COLORREF kBackground = RGB(0x16, 0x1a, 0x21);
constexpr COLORREF kBody = RGB(0x22, 0x27, 0x30);
constexpr COLORREF kSeam = RGB(0x3c, 0x44, 0x52);
constexpr COLORREF kTeal = RGB(0x17, 0xd0, 0xc2);
constexpr COLORREF kText = RGB(0xe4, 0xe8, 0xee);
constexpr COLORREF kDimText = RGB(0x8a, 0x94, 0xa3);

void DrawCentredText(HDC dc, const std::wstring& text, RECT box, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
}  // namespace

void DrawPlaceholderFace(HDC dc, const RECT& area, const std::wstring& title, int slot,
                         LanguageMode language, HFONT font) {
    const OwnedBrush background(CreateSolidBrush(kBackground));
    FillRect(dc, &area, background.get());

    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int cx = area.left + width / 2;

    // A mouse seen from above, in the middle of the window.
    const int bodyW = width / 4, bodyH = height / 2;
    const RECT body{cx - bodyW / 2, area.top + height / 4, cx + bodyW / 2, area.top + height / 4 + bodyH};
    {
        const OwnedPen outline(CreatePen(PS_SOLID, 3, kTeal));
        const OwnedBrush fill(CreateSolidBrush(kBody));
        SelectScope pen(dc, outline.get());
        SelectScope brush(dc, fill.get());
        RoundRect(dc, body.left, body.top, body.right, body.bottom, bodyW, bodyW);
        // The seams between the two buttons and the palm.
        const OwnedPen seam(CreatePen(PS_SOLID, 2, kSeam));
        SelectScope seamPen(dc, seam.get());
        const int palmTop = body.top + bodyH * 2 / 5;
        MoveToEx(dc, cx, body.top + 3, nullptr);
        LineTo(dc, cx, palmTop);
        MoveToEx(dc, body.left + 2, palmTop, nullptr);
        LineTo(dc, body.right - 2, palmTop);
        const OwnedBrush wheelFill(CreateSolidBrush(kTeal));
        SelectScope wheelBrush(dc, wheelFill.get());
        RoundRect(dc, cx - 6, body.top + bodyH / 10, cx + 6, body.top + bodyH / 10 + bodyH / 7, 10, 10);
    }

    const OwnedBrush accent(CreateSolidBrush(kTeal));
    const RECT bar{area.left, area.top, area.right, area.top + 4};
    FillRect(dc, &bar, accent.get());

    SelectScope selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const int line = 24;
    DrawCentredText(dc, title, RECT{area.left, area.top + height / 8, area.right, area.top + height / 8 + line}, kText);
    const std::wstring slotText =
        (language == LanguageMode::English ? L"Configuration " : L"配置 ") + std::to_wstring(slot);
    DrawCentredText(dc, slotText, RECT{area.left, body.bottom + line, area.right, body.bottom + 2 * line}, kDimText);
}
