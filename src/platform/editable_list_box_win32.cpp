#include "platform/editable_list_box_win32.h"

#include <string>
#include <utility>

namespace {
std::wstring LineText(HWND list, WPARAM line) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, line, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool HasStyle(HWND window, LONG style) { return (GetWindowLongW(window, GWL_STYLE) & style) != 0; }
}  // namespace

CEditHelper::CEditHelper() {
    MessageTable& m = Messages();
    m.Set(WM_KEYUP, [this](WPARAM key, LPARAM flags) { return OnKeyUp(key, flags); });
    m.Set(WM_KILLFOCUS, [this](WPARAM, LPARAM) { return AskListToClose(true); });
    // Enter and Escape are the editor's own: the dialog around it must not take them for its
    // default button or its cancel, and a single-line edit must not beep at them.
    m.Set(WM_GETDLGCODE, [this](WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        return DefaultProcessing(WM_GETDLGCODE, w, l) | DLGC_WANTALLKEYS;
    });
    const auto swallowEnterAndEscape = [](WPARAM key, LPARAM) -> std::optional<LRESULT> {
        if (key == VK_RETURN || key == VK_ESCAPE) return 0;
        return std::nullopt;
    };
    m.Set(WM_KEYDOWN, swallowEnterAndEscape);
    m.Set(WM_CHAR, swallowEnterAndEscape);
}

std::optional<LRESULT> CEditHelper::OnKeyUp(WPARAM key, LPARAM) {
    if (key == VK_RETURN) return AskListToClose(true);
    if (key == VK_ESCAPE) return AskListToClose(false);
    return std::nullopt;
}

std::optional<LRESULT> CEditHelper::AskListToClose(bool keep) {
    SendMessageW(GetParent(Hwnd()), kEndLineEditMessage, keep ? 1 : 0, 0);
    // The list lets go of this editor before destroying it.
    if (!Hwnd()) return 0;
    return std::nullopt;
}

CEditableListBox::CEditableListBox() {
    MessageTable& m = Messages();
    m.On<WM_RBUTTONUP>(this, &CEditableListBox::OnRButtonUp);
    // A scrolled list would leave the editor over another line.
    const auto keepThenScroll = [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        EndEdit(true);
        return std::nullopt;
    };
    m.Set(WM_HSCROLL, keepThenScroll);
    m.Set(WM_VSCROLL, keepThenScroll);
    m.Set(WM_MOUSEWHEEL, keepThenScroll);
    m.Set(WM_SIZE, [this](WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        const LRESULT result = DefaultProcessing(WM_SIZE, w, l);
        EndEdit(true);
        return result;
    });
    m.Set(WM_KEYUP, [this](WPARAM key, LPARAM) -> std::optional<LRESULT> {
        if (key == VK_INSERT) BeginEdit();
        return std::nullopt;
    });
    m.Set(WM_CHAR, [this](WPARAM code, LPARAM) -> std::optional<LRESULT> {
        editRequest_ = code;
        BeginEdit();
        return std::nullopt;
    });
    m.Set(kEndLineEditMessage, [this](WPARAM keep, LPARAM) -> std::optional<LRESULT> {
        EndEdit(keep != 0);
        return 0;
    });
    // The editor is coloured like the list: by the list's parent.
    m.Set(WM_CTLCOLOREDIT, [this](WPARAM dc, LPARAM control) -> std::optional<LRESULT> {
        if (!editor_ || reinterpret_cast<HWND>(control) != editor_) return std::nullopt;
        return SendMessageW(GetParent(Hwnd()), WM_CTLCOLOREDIT, dc, control);
    });
    m.Set(WM_DESTROY, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        DestroyEditorQuietly();
        return std::nullopt;
    });
}

CEditableListBox::~CEditableListBox() { DestroyEditorQuietly(); }

void CEditableListBox::OnRButtonUp(POINT point) {
    const LRESULT line = SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) return;
    RECT rect{};
    if (SendMessageW(Hwnd(), LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&rect)) == LB_ERR) return;
    if (PtInRect(&rect, point)) BeginEdit();
}

void CEditableListBox::BeginEdit() {
    if (editRequest_ != kOpenLineEditorChar) return;
    editRequest_ = 0;
    const HWND list = Hwnd();
    if (!list) return;
    if (editor_) EndEdit(true);

    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) return;
    RECT rect{};
    if (SendMessageW(list, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&rect)) == LB_ERR) return;
    // A little taller than the line, so its text sits inside the editor's border.
    rect.top -= 2;
    rect.bottom += 2;

    const std::wstring text = LineText(list, static_cast<WPARAM>(line));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(list, GWLP_HINSTANCE));
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLineEditorId));
    const HWND editor = CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, list, id,
                                        instance, nullptr);
    if (!editor) return;
    SetWindowLongW(editor, GWL_EXSTYLE, GetWindowLongW(editor, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SendMessageW(editor, WM_SETFONT, static_cast<WPARAM>(SendMessageW(list, WM_GETFONT, 0, 0)), TRUE);
    SendMessageW(editor, EM_SETSEL, 0, -1);

    editor_ = editor;
    editingIndex_ = static_cast<int>(line);
    helper_.Attach(editor);
    SetFocus(editor);
}

void CEditableListBox::EndEdit(bool keep) {
    // Taken first: whatever this call sets off (the parent's handlers, the editor's last focus
    // change) finds no editor and does nothing.
    const HWND editor = std::exchange(editor_, nullptr);
    if (!editor) return;
    const HWND list = Hwnd();
    const int line = std::exchange(editingIndex_, -1);

    if (keep && line != -1 && list && IsWindow(editor)) {
        const std::wstring oldText = LineText(list, static_cast<WPARAM>(line));
        const std::wstring newText = WindowText(editor);
        if (newText != oldText) {
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
            const auto textParam = reinterpret_cast<LPARAM>(newText.c_str());
            const LRESULT at = HasStyle(list, LBS_SORT)
                                   ? SendMessageW(list, LB_ADDSTRING, 0, textParam)
                                   : SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(line), textParam);
            if (at >= 0) {
                SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
                if (HasStyle(list, LBS_NOTIFY)) {
                    SendMessageW(GetParent(list), kLineChangedMessage, static_cast<WPARAM>(at),
                                 reinterpret_cast<LPARAM>(oldText.c_str()));
                }
            }
        }
    }

    // Let go before destroying: the editor's losing the focus must not come back here.
    helper_.Detach();
    if (IsWindow(editor)) {
        if (GetFocus() == editor && list) SetFocus(list);
        DestroyWindow(editor);
    }
    if (list) SendMessageW(GetParent(list), kLineEditEndedMessage, 0, 0);
}

void CEditableListBox::DestroyEditorQuietly() {
    const HWND editor = std::exchange(editor_, nullptr);
    editingIndex_ = -1;
    helper_.Detach();
    if (editor && IsWindow(editor)) DestroyWindow(editor);
}
