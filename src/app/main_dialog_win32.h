// The main window: a control-less dialog that shows the configuration, lives for the whole
// program and closes it.
#pragma once

#include "ui/main_window_view_win32.h"
#include "app/command_receiver_win32.h"
#include "app/logon_task.h"
#include "app/program_profile_host_win32.h"
#include "app/program_services.h"
#include "app/startup.h"
#include "config/app_bindings.h"
#include "ui/owner_drawn_menu_win32.h"
#include "ui/tray_win32.h"
#include "ui/window_ports_win32.h"
#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"

class DeviceSession;
class HostRuntime;

// The mouse side of the window: the mouse it talks to and the threads that serve it.
struct ProgramMouse {
    DeviceSession& session;
    HostRuntime& runtime;
};

class CHXT_GMouseDlg : public Dialog, private StartupSteps {
public:
    // ports: the system services it works through. mouse: the mouse the window serves; without
    // one the window only shows the configuration.
    CHXT_GMouseDlg(ProgramServices& services, WindowPorts ports, ProgramMouse* mouse = nullptr);

    // The window starts hidden with its tray icon, as at log-on; call before DoModal.
    void StartInTray() {
        StartHidden();
        startInTray_ = true;
    }

    // The language fonts, alive as long as the window.
    HFONT EnglishUiFont() const { return englishUiFont_.get(); }
    HFONT ChineseUiFont() const { return chineseUiFont_.get(); }
    HFONT CurrentUiFont() const;

    // The page view: the skin's tables, the shape, the painting and the mouse's state on the pages.
    const MainWindowView& View() const { return view_; }
    // The start-up's second half (the first apply) has run: shortly after the first paint.
    bool StartupFinished() const { return startupFinished_; }

    bool PreTranslateMessage(MSG& msg) override { return view_.PreTranslate(msg); }

    // The macro editor's context menu of the current language (owner-drawn); null before the
    // menus are loaded. Pop it up with this window as the owner, which draws its items.
    HMENU EditMenuPopup() const { return editMenu_.Popup(); }

    // The script commands: this start's own, carried out after the start-up, and those another
    // start hands over.
    CommandReceiver& Commands() { return commands_; }

    // The tray menu's "Start with Windows" works through task, which outlives the window;
    // without it the item shows off and does nothing.
    void OfferStartWithWindows(StartupTaskPort& task);

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
    void OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT& item);
    void OnDrawItem(UINT controlId, const DRAWITEMSTRUCT& item);
    void OnShowWindow();  // the tray menu's "Show Window"
    void OnStartWithWindows();  // the tray menu's "Start with Windows"
    void OnShowIndicator();     // the tray menu's "Show indicator"
    ProgramProfilePorts ProfilePorts();
    void OnProgramProfiles();   // the tray menu's "Program profiles…"
    BOOL OnDeviceChange(UINT event, LPARAM record);
    void OnTimer(UINT_PTR id);
    // The factory reset control: presets, default macros, then the apply.
    void ResetToFactory();
    void OnPowerBroadcast(UINT event, LPARAM data);

    // Everything the program does on its way out, ending with the window itself.
    void CloseProgram() override;

    // The start-up's second half, once: shortly after the first paint, or after a while when
    // the window is never painted (started hidden).
    void FinishStartupOnce();

    // Start-up, in the order RunWindowStartup and RunStartupAfterFirstPaint give.
    bool HasMouse() override { return mouse_ != nullptr; }
    void StartWorkers() override;
    void LoadConfiguration() override;
    void SetTitle() override;
    void CreateFonts() override;
    bool LoadSkin() override;
    void AbandonStartup() override;
    void ShapeWindow() override;
    void LoadMacros() override;
    void LoadMenus() override;
    bool FindMouse() override;
    void ShowPlugInMessage() override;
    void WaitBeforeFirstApply() override;
    void Apply() override;

    ProgramServices& services_;
    WindowPorts ports_;
    ProgramMouse* mouse_;
    HICON icon_ = nullptr;  // shared resource icon, never destroyed
    OwnedFont englishUiFont_;
    OwnedFont chineseUiFont_;
    MainWindowView view_;
    CHxtMenu editMenu_;
    TrayMenu trayMenu_;
    std::optional<StartWithWindows> startWithWindows_;
    AppBindings appBindings_;
    ProgramProfileHost profileHost_{services_.program, ProfilePorts()};
    CommandReceiver commands_{view_};
    bool startupFinished_ = false;
    bool startInTray_ = false;
};
