// The notification area icon and its menu.
#include "ui/tray_win32.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/window_framework_win32.h"
#include "resource.h"

namespace {
// The record's size is our build's own: a size of another layout makes the call fail.
NOTIFYICONDATAW IconRecord(HWND main, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = main;
    data.uID = kTrayIconId;
    const std::size_t length = std::min(tip.size(), std::size(data.szTip) - 1);
    std::copy_n(tip.begin(), length, data.szTip);
    return data;
}
}  // namespace

void AddTrayIcon(HWND main, const std::wstring& tip) {
    NOTIFYICONDATAW data = IconRecord(main, tip);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayNotifyMessage;
    data.hIcon = LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    Shell_NotifyIconW(NIM_ADD, &data);
}

void HideToTray(HWND main, const std::wstring& tip) {
    AddTrayIcon(main, tip);
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_HIDE);
}

void ShowTrayBalloon(HWND main, const std::wstring& title, const std::wstring& text) {
    NOTIFYICONDATAW data = IconRecord(main, L"");
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    std::copy_n(title.begin(), std::min(title.size(), std::size(data.szInfoTitle) - 1), data.szInfoTitle);
    std::copy_n(text.begin(), std::min(text.size(), std::size(data.szInfo) - 1), data.szInfo);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void SetTrayTip(HWND main, const std::wstring& tip) {
    NOTIFYICONDATAW data = IconRecord(main, tip);
    data.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void RemoveTrayIcon(HWND main) {
    NOTIFYICONDATAW data = IconRecord(main, L"HXT_GMouse");
    Shell_NotifyIconW(NIM_DELETE, &data);
}

void ShowFromTray(HWND main) {
    ShowWindow(main, SW_SHOW);
    ShowWindow(main, SW_RESTORE);
    RemoveTrayIcon(main);
}

void TrayMenu::Load(LanguageMode language) {
    const UINT id = language == LanguageMode::English ? IDR_MENU_TRAY_EN : IDR_MENU_TRAY_CN;
    menu_.Load(id);
}

HMENU TrayMenu::PopupMarked() const {
    HMENU popup = Popup();
    if (!popup) return popup;
    const TrayMarks marks = marks_ ? marks_() : TrayMarks{};
    const auto check = [popup](UINT id, bool on) { CheckMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
    // The loaded language has one of the two; the other id is not in the menu.
    check(ID_TRAY_STARTUP, marks.startWithWindows);
    check(ID_TRAY_STARTUP_CN, marks.startWithWindows);
    check(ID_TRAY_INDICATOR, marks.indicator);
    for (int slot = 1; slot <= kTraySlotCount; ++slot) check(ID_TRAY_SLOT1 + slot - 1, slot == marks.slot);
    return popup;
}

LRESULT OnTrayNotification(HWND main, WPARAM iconId, LPARAM mouseMessage, const TrayMenu& menu) {
    if (iconId != kTrayIconId) return 1;
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            RemoveTrayIcon(main);
            ShowWindow(main, SW_SHOW);
            ShowWindow(main, SW_RESTORE);
            break;
        case WM_RBUTTONUP: {
            POINT cursor{};
            GetCursorPos(&cursor);
            if (HMENU popup = menu.PopupMarked()) {
                // Without the foreground the menu would stay open after a click elsewhere.
                SetForegroundWindow(main);
                TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, main, nullptr);
            }
            break;
        }
        default: break;
    }
    return 0;
}
