#include "ui/indicator_win32.h"

#include <array>
#include <cwchar>
#include <span>

#include "platform/wide_text_win32.h"
#include "skin/menu_look.h"
#include "ui/indicator_model.h"

namespace {
constexpr wchar_t kClassName[] = L"HXT_GMouse.Indicator";
constexpr wchar_t kTitle[] = L"HXT_GMouse indicator";
constexpr UINT_PTR kHideTimer = 1;
constexpr int kPaddingX = 18;
constexpr int kPaddingY = 10;
constexpr int kAccentWidth = 5;  // the gradient bar on the left, the owner-drawn menus' selection
constexpr int kFontPoints = 13;
// Slightly see-through, so that what is under it stays readable through a long text.
constexpr BYTE kAlpha = 230;

COLORREF ColourOf(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

void FillSolid(HDC dc, const RECT& area, Rgb colour) {
    const COLORREF previous = SetBkColor(dc, ColourOf(colour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

// A face the font mapper really gave us: it quietly takes another one for a name it lacks, and
// that one may have no Chinese glyphs.
bool HasFace(HDC dc, HFONT font, const wchar_t* face) {
    SelectScope selected(dc, font);
    std::array<wchar_t, LF_FACESIZE> got{};
    GetTextFaceW(dc, static_cast<int>(got.size()), got.data());
    return _wcsicmp(got.data(), face) == 0;
}

// The first of the language's faces that exists; else the default GUI font at our size, whose
// character set still steers the mapper to a face with the glyphs.
OwnedFont CreateFontFor(LanguageMode language) {
    const bool chinese = language == LanguageMode::Chinese;
    static constexpr const wchar_t* kEnglishFaces[] = {L"Segoe UI", L"Tahoma"};
    static constexpr const wchar_t* kChineseFaces[] = {L"Microsoft YaHei", L"微软雅黑", L"SimSun", L"宋体"};

    WindowDcScope screen(nullptr);
    LOGFONTW look{};
    look.lfHeight = -MulDiv(kFontPoints, GetDeviceCaps(screen.dc(), LOGPIXELSY), 72);
    look.lfWeight = FW_SEMIBOLD;
    look.lfCharSet = chinese ? GB2312_CHARSET : DEFAULT_CHARSET;
    look.lfQuality = CLEARTYPE_QUALITY;
    const std::span<const wchar_t* const> faces = chinese ? std::span<const wchar_t* const>(kChineseFaces)
                                                          : std::span<const wchar_t* const>(kEnglishFaces);
    for (const wchar_t* face : faces) {
        wcsncpy(look.lfFaceName, face, LF_FACESIZE - 1);
        OwnedFont font(CreateFontIndirectW(&look));
        if (font && HasFace(screen.dc(), font.get(), face)) return font;
    }
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    fallback.lfHeight = look.lfHeight;
    fallback.lfWeight = look.lfWeight;
    fallback.lfCharSet = look.lfCharSet;
    return OwnedFont(CreateFontIndirectW(&fallback));
}

PixelRect WorkAreaUnderCursor() {
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    return PixelRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}
}  // namespace

Indicator::Indicator(HINSTANCE instance) : instance_(instance) {
    messages_.On<WM_PAINT>(this, &Indicator::OnPaint);
    messages_.On<WM_TIMER>(this, &Indicator::OnTimer);
    // The paint covers every pixel; erasing first would only flicker.
    messages_.Set(WM_ERASEBKGND, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return TRUE; });
    // Click-through even where the extended style is not honoured, and never activated by a click.
    messages_.Set(WM_NCHITTEST, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return HTTRANSPARENT; });
    messages_.Set(WM_MOUSEACTIVATE, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return MA_NOACTIVATE; });
}

Indicator::~Indicator() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Indicator::EnsureWindow() {
    if (hwnd_) return true;
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(instance_, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = &Indicator::WindowProc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassW(&windowClass)) return false;
    }
    hwnd_ = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                            kClassName, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    SetLayeredWindowAttributes(hwnd_, 0, kAlpha, LWA_ALPHA);
    return true;
}

LRESULT CALLBACK Indicator::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Indicator*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        } else if (const std::optional<LRESULT> result = self->messages_.DispatchCatching(message, w, l)) {
            return *result;
        }
    }
    return DefWindowProcW(hwnd, message, w, l);
}

void Indicator::UseFontOf(LanguageMode language) {
    if (font_ && fontLanguage_ == language) return;
    font_ = CreateFontFor(language);
    fontLanguage_ = language;
}

SIZE Indicator::MeasureText() const {
    WindowDcScope dc(hwnd_);
    SelectScope selected(dc.dc(), font_.get());
    RECT bounds{};
    DrawTextW(dc.dc(), text_.c_str(), static_cast<int>(text_.size()), &bounds, DT_CALCRECT | DT_NOPREFIX);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void Indicator::Show(const std::u16string& text, LanguageMode language) {
    if (text.empty() || !EnsureWindow()) return;
    text_ = ToWide(text);
    UseFontOf(language);

    const SIZE textSize = MeasureText();
    const IndicatorSize size{textSize.cx + 2 * kPaddingX + kAccentWidth, textSize.cy + 2 * kPaddingY};
    const PixelRect place = IndicatorPlacement(WorkAreaUnderCursor(), size);
    SetWindowPos(hwnd_, HWND_TOPMOST, static_cast<int>(place.left), static_cast<int>(place.top),
                 static_cast<int>(place.Width()), static_cast<int>(place.Height()), SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    // The same timer id again restarts the time for the new text.
    SetTimer(hwnd_, kHideTimer, kShowMilliseconds, nullptr);
}

void Indicator::Hide() {
    if (!hwnd_) return;
    KillTimer(hwnd_, kHideTimer);
    ShowWindow(hwnd_, SW_HIDE);
}

void Indicator::OnTimer(UINT_PTR timerId) {
    if (timerId == kHideTimer) Hide();
}

void Indicator::OnPaint() {
    PaintScope paint(hwnd_);
    HDC dc = paint.dc();
    RECT client{};
    GetClientRect(hwnd_, &client);

    FillSolid(dc, client, menu_colour::kBackground);
    // The accent bar: the selected menu item's gradient, top to bottom.
    const int rows = client.bottom - client.top - 2;
    for (int row = 0; row < rows; ++row) {
        FillSolid(dc, RECT{1, 1 + row, 1 + kAccentWidth, 2 + row}, MenuGradientRow(row, rows));
    }
    // The frame in the gradient's end colours, as the menus' separators frame in two colours.
    FillSolid(dc, RECT{0, 0, client.right, 1}, menu_colour::kGradientBottom);
    FillSolid(dc, RECT{0, 0, 1, client.bottom}, menu_colour::kGradientBottom);
    FillSolid(dc, RECT{client.right - 1, 0, client.right, client.bottom}, menu_colour::kGradientTop);
    FillSolid(dc, RECT{0, client.bottom - 1, client.right, client.bottom}, menu_colour::kGradientTop);

    SelectScope selected(dc, font_.get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc, ColourOf(menu_colour::kText));
    RECT textArea{kAccentWidth + kPaddingX, kPaddingY, client.right - kPaddingX, client.bottom - kPaddingY};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textArea, DT_CENTER | DT_NOPREFIX);
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
}
