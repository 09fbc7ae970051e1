// The program's icon in the notification area: hiding the main window into it, showing the
// window again, the icon's notifications and its menu.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/language.h"
#include "resource.h"
#include "ui/owner_drawn_menu_win32.h"

constexpr UINT kTrayIconId = 153;
constexpr UINT kTrayNotifyMessage = WM_USER + 1;
constexpr int kTraySlotCount = ID_TRAY_SLOT5 - ID_TRAY_SLOT1 + 1;

// Adds the icon (tip: the window's title) and hides the window: minimised, then hidden.
void HideToTray(HWND main, const std::wstring& tip);
// The tray icon alone, for a window that never showed (a start in the tray).
void AddTrayIcon(HWND main, const std::wstring& tip);
// A balloon from the icon, when the icon is there.
void ShowTrayBalloon(HWND main, const std::wstring& title, const std::wstring& text);
// The icon's tooltip, when the icon is there.
void SetTrayTip(HWND main, const std::wstring& tip);
// Removes the icon, whether or not it was added.
void RemoveTrayIcon(HWND main);
// "Show Window": the window back on screen, the icon gone.
void ShowFromTray(HWND main);

// The tray menu of one language (menu resource 157 or 162), owner-drawn; its first pop-up is
// what shows. Loading again replaces it.
// The marks of the tray menu's items as they are when it opens.
struct TrayMarks {
    int slot = 0;  // the slot that runs, 1..5; none marked otherwise
    bool indicator = false;
    bool startWithWindows = false;
};

class TrayMenu {
public:
    void Load(LanguageMode language);
    HMENU Popup() const { return menu_.Popup(); }
    // Asked each time the menu opens: the log-on task can change outside the program.
    void SetMarks(std::function<TrayMarks()> marks) { marks_ = std::move(marks); }
    // The pop-up with the items' marks as they are now.
    HMENU PopupMarked() const;

private:
    CHxtMenu menu_;
    std::function<TrayMarks()> marks_;
};

// WM_USER + 1: wParam the icon id, lParam the mouse message. 1 for another icon, else 0: a
// double click brings the window back, a right click opens the menu at the cursor.
LRESULT OnTrayNotification(HWND main, WPARAM iconId, LPARAM mouseMessage, const TrayMenu& menu);
