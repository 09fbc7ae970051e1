#include "ui/macro_editor_controls_win32.h"

#include <commctrl.h>

#include "platform/late_function_win32.h"
#include "platform/wide_text_win32.h"

namespace {
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_CENTER;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY;

// The common controls, before the first control the window makes: the macro editor's are its only
// ones, so a window that never shows the editor leaves comctl32 unloaded (3 MB under Wine).
// Initialising again costs nothing.
void InitCommonControls() {
    if (const auto init = LateFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
        init(&controls);
    }
}

HWND CreateChild(HWND parent, const wchar_t* windowClass, DWORD style, const PixelRect& rect, int id, HFONT font) {
    InitCommonControls();
    const HWND control = CreateWindowExW(0, windowClass, L"", style, static_cast<int>(rect.left),
                                         static_cast<int>(rect.top), static_cast<int>(rect.Width()),
                                         static_cast<int>(rect.Height()), parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                         nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

void DestroyChild(HWND& control) {
    if (control && IsWindow(control)) DestroyWindow(control);
    control = nullptr;
}

std::u16string TextOf(HWND control) {
    if (!control) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

std::u16string ItemText(HWND list, LRESULT item) {
    if (!list || item < 0) return {};
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return FromWide(text);
}

void AddItems(HWND list, const std::vector<std::u16string>& items) {
    for (const std::u16string& item : items) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
    }
}

// A line outside the list selects none. Selecting scrolls the line into view.
void SelectItem(HWND list, std::int32_t item) {
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    const WPARAM index = item >= 0 && item < count ? static_cast<WPARAM>(item) : static_cast<WPARAM>(-1);
    SendMessageW(list, LB_SETCURSEL, index, 0);
}
}  // namespace

MacroEditorControlsWin32::MacroEditorControlsWin32(std::function<HWND()> mainWindow, const MacroEditorRects& rects,
                                                   std::function<HFONT()> font, std::function<void()> showEventMenu)
    : mainWindow_(std::move(mainWindow)),
      rects_(rects),
      font_(std::move(font)),
      showEventMenu_(std::move(showEventMenu)) {}

MacroEditorControlsWin32::~MacroEditorControlsWin32() { Destroy(); }

void MacroEditorControlsWin32::Create() {
    if (Alive(nameBox_) || Alive(repeatBox_) || Alive(macroList_) || Alive(eventList_)) return;
    const HWND parent = mainWindow_ ? mainWindow_() : nullptr;
    if (!parent) return;
    const HFONT font = font_ ? font_() : nullptr;
    nameBox_ = CreateChild(parent, L"EDIT", kEditStyle, rects_.nameBox, kNameBoxId, font);
    macroList_ = CreateChild(parent, L"LISTBOX", kListStyle, rects_.macroList, kMacroListId, font);
    eventList_ = CreateChild(parent, L"LISTBOX", kListStyle, rects_.eventList, kEventListId, font);
    repeatBox_ = CreateChild(parent, L"EDIT", kEditStyle, rects_.repeatCountBox, kRepeatCountBoxId, font);
    eventListBox_.Attach(eventList_);
}

void MacroEditorControlsWin32::Destroy() {
    DestroyChild(eventList_);  // takes its in-place editor and its subclass with it
    DestroyChild(macroList_);
    DestroyChild(nameBox_);
    DestroyChild(repeatBox_);
}

void MacroEditorControlsWin32::SetMacroNames(const std::vector<std::u16string>& names) {
    const HWND list = Alive(macroList_);
    if (!list) return;
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    AddItems(list, names);
}

void MacroEditorControlsWin32::SelectMacroItem(int item) {
    if (const HWND list = Alive(macroList_)) SelectItem(list, item);
}

int MacroEditorControlsWin32::SelectedMacroItem() const {
    const HWND list = Alive(macroList_);
    if (!list) return -1;
    const LRESULT item = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return item == LB_ERR ? -1 : static_cast<int>(item);
}

std::u16string MacroEditorControlsWin32::MacroItemText(int item) const { return ItemText(Alive(macroList_), item); }

void MacroEditorControlsWin32::FocusMacroList() {
    if (const HWND list = Alive(macroList_)) SetFocus(list);
}

void MacroEditorControlsWin32::SetNameText(std::u16string_view text) {
    if (const HWND box = Alive(nameBox_)) SetWindowTextW(box, ToWide(text).c_str());
}

std::u16string MacroEditorControlsWin32::NameText() const { return TextOf(Alive(nameBox_)); }

void MacroEditorControlsWin32::SetEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) {
    const HWND list = Alive(eventList_);
    if (!list) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    AddEventLines(lines, selectLine);
}

void MacroEditorControlsWin32::AppendEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) {
    const HWND list = Alive(eventList_);
    if (!list) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    AddEventLines(lines, selectLine);
}

// The fill runs with redraw off, so that hundreds of lines paint once.
void MacroEditorControlsWin32::AddEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) {
    AddItems(eventList_, lines);
    SelectItem(eventList_, selectLine);
    SendMessageW(eventList_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(eventList_, nullptr, TRUE);
}

std::int32_t MacroEditorControlsWin32::EventLineCount() const {
    const HWND list = Alive(eventList_);
    if (!list) return 0;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<std::int32_t>(count);
}

std::u16string MacroEditorControlsWin32::SelectedEventLineText() const {
    const HWND list = Alive(eventList_);
    if (!list) return {};
    return ItemText(list, SendMessageW(list, LB_GETCURSEL, 0, 0));
}

void MacroEditorControlsWin32::SelectEventLine(std::int32_t line) {
    if (const HWND list = Alive(eventList_)) SelectItem(list, line);
}

void MacroEditorControlsWin32::FocusEventList() {
    if (const HWND list = Alive(eventList_)) SetFocus(list);
}

EventListHit MacroEditorControlsWin32::HitEventList() const {
    EventListHit hit;
    const HWND list = Alive(eventList_);
    if (!list) return hit;
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    POINT cursor{};
    GetCursorPos(&cursor);
    const auto top = static_cast<std::int32_t>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const LRESULT itemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0 && itemHeight != LB_ERR) {
        const auto height = static_cast<std::int32_t>(itemHeight);
        hit.line = (height * top + cursor.y - client.top) / height;
    }
    hit.inside = PtInRect(&client, cursor) != FALSE;
    hit.lineCount = EventLineCount();
    return hit;
}

void MacroEditorControlsWin32::BeginDelayEdit() {
    if (const HWND list = Alive(eventList_)) SendMessageW(list, WM_CHAR, kOpenLineEditorChar, 0);
}

void MacroEditorControlsWin32::ShowEventMenu() {
    if (showEventMenu_) showEventMenu_();
}

void MacroEditorControlsWin32::SetRepeatText(std::u16string_view text, bool enabled) {
    const HWND box = Alive(repeatBox_);
    if (!box) return;
    SetWindowTextW(box, ToWide(text).c_str());
    EnableWindow(box, enabled ? TRUE : FALSE);
}

std::u16string MacroEditorControlsWin32::RepeatText() const { return TextOf(Alive(repeatBox_)); }
