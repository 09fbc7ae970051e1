// The main window: a control-less dialog that shows the configuration, lives for the whole
// program and closes it.
#pragma once

#include "app/main_skin_win32.h"
#include "app/tray_win32.h"
#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"

class MainWindowDevice;

class CHXT_GMouseDlg : public Dialog {
public:
    // device: the mouse the window serves (see device_wiring_win32.h); without one the window
    // only shows the configuration.
    explicit CHXT_GMouseDlg(MainWindowDevice* device = nullptr);

    // The language fonts, alive as long as the window.
    HFONT EnglishUiFont() const { return englishUiFont_.get(); }
    HFONT ChineseUiFont() const { return chineseUiFont_.get(); }
    HFONT CurrentUiFont() const;

    // The skin: its tables, shape, painting and the mouse's state on the pages.
    const MainSkin& Skin() const { return skin_; }

private:
    BOOL OnInitDialog();
    bool OnSysCommand(UINT command, LPARAM position);
    void OnClose();
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    HICON OnQueryDragIcon();
    void OnEnterOrEscape();
    void OnMouseMove(POINT point);
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    HBRUSH OnCtlColor(HDC dc, HWND control);
    void OnShowWindow();  // the tray menu's "Show Window"

    // Everything the program does on its way out, ending with the window itself.
    void CloseProgram();

    HICON icon_;  // shared resource icon, never destroyed
    OwnedFont englishUiFont_;
    OwnedFont chineseUiFont_;
    MainSkin skin_;
    TrayMenu trayMenu_;
    MainWindowDevice* device_;
};
