// A list box whose selected line can be edited in place: an edit control opens over the line,
// Enter or leaving it keeps the new text, Escape drops it. Attached to a list box someone else
// created; the list's parent hears of changed lines and of the editor closing.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/subclassed_control_win32.h"

// Editor → list: close the editor; wParam 1 keeps its text, 0 drops it.
inline constexpr UINT kEndLineEditMessage = WM_APP + 0x841;
// List → parent, only for a list with LBS_NOTIFY: a line got new text. wParam: the line's index
// now; lParam: const wchar_t* to its old text, valid during the call.
inline constexpr UINT kLineChangedMessage = WM_APP + 0x840;
// List → parent: the editor closed, kept or not (wParam 0, lParam 0). May arrive twice for one
// edit; handle it idempotently.
inline constexpr UINT kLineEditEndedMessage = WM_USER + 10;
// The char code that asks the list to open the editor (WM_CHAR).
inline constexpr WPARAM kOpenLineEditorChar = 1;
// The editor's control id among the list's children.
inline constexpr int kLineEditorId = 1;

// The in-place editor: Enter, Escape and losing the focus tell its list to close it.
class CEditHelper : public SubclassedControl {
public:
    CEditHelper();

private:
    std::optional<LRESULT> OnKeyUp(WPARAM key, LPARAM flags);
    void OnKillFocus(HWND newFocus);
    // After the list closed this editor the window is gone: no default processing for it.
    std::optional<LRESULT> AskListToClose(bool keep);
};

class CEditableListBox : public SubclassedControl {
public:
    CEditableListBox();
    // Takes an editor still open with it, without telling the parent.
    ~CEditableListBox() override;

    // Opens the editor over the selected line, when the last character typed asked for it.
    void BeginEdit();
    // Closes the editor; keep puts its text into the line when it differs.
    void EndEdit(bool keep);

    HWND Editor() const { return editor_; }
    int EditingIndex() const { return editingIndex_; }

private:
    void OnRButtonUp(POINT point);
    void DestroyEditorQuietly();

    CEditHelper helper_;
    HWND editor_ = nullptr;
    int editingIndex_ = -1;
    WPARAM editRequest_ = 0;  // the char code of the last WM_CHAR
};
