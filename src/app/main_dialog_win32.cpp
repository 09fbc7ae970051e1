// The main window's start-up, system menu, painting and closing.
#include "app/main_dialog_win32.h"

#include "app/about_dialog_win32.h"
#include "app/factory_reset.h"
#include "app/device_session_win32.h"
#include "app/host_runtime_win32.h"
#include "app/ui_fonts_win32.h"
#include "config/app_bindings.h"
#include "config/config_file.h"
#include "core/user_texts.h"
#include "platform/growing_buffer_win32.h"
#include "platform/profile_snapshot.h"
#include "platform/wide_text_win32.h"
#include "resource.h"
#include "ui/event_menu_command.h"
#include "ui/indicator_model.h"
#include "ui/program_profiles_dialog_win32.h"

namespace {
constexpr DWORD kWaitBeforeFirstApply = 5;
// The start-up's second half waits for the first paint. It runs from a timer, which comes
// once the window's thread is idle, so the painted window reaches the screen before it.
constexpr UINT_PTR kFinishStartupTimer = 0x4860;
constexpr UINT_PTR kProfileSettleTimer = 0x4861;
constexpr UINT kFinishStartupAfterPaintMs = 1;
constexpr UINT kFinishStartupUnpaintedMs = 1000;
}  // namespace

CHXT_GMouseDlg::CHXT_GMouseDlg(ProgramServices& services, WindowPorts ports, ProgramMouse* mouse)
    : Dialog(IDD_HXT_GMOUSE_DIALOG),
      services_(services),
      ports_(ports),
      mouse_(mouse),
      view_(services.program, services.handoff, services.macros, services.macroEditor, ports, [this] { Apply(); },
            [this] { ResetToFactory(); }) {
    // First of all: the first paint's pictures decode while Windows readies the desktop (the
    // icon waits for it) and makes the window.
    view_.PrefetchFirstPaint(SkinsDirOf(services.program.paths.ProgramDir));
    icon_ = LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    view_.SetEventMenu([this] { return EditMenuPopup(); });
    view_.SetLanguageShown([this] {
        LoadMenus();
        SetTitle();
    });
    MessageTable& m = Messages();
    m.On<WM_INITDIALOG>(this, &CHXT_GMouseDlg::OnInitDialog);
    m.On<WM_SYSCOMMAND>(this, &CHXT_GMouseDlg::OnSysCommand);
    m.On<WM_CLOSE>(this, &CHXT_GMouseDlg::OnClose);
    m.On<WM_PAINT>(this, &CHXT_GMouseDlg::OnPaint);
    m.On<WM_ERASEBKGND>(this, &CHXT_GMouseDlg::OnEraseBkgnd);
    m.On<WM_QUERYDRAGICON>(this, &CHXT_GMouseDlg::OnQueryDragIcon);
    // The window lives as long as the program: Enter and Esc must not end it.
    m.OnCommand({IDOK, IDCANCEL}, this, &CHXT_GMouseDlg::OnEnterOrEscape);
    m.On<WM_MOUSEMOVE>(this, &CHXT_GMouseDlg::OnMouseMove);
    m.On<WM_LBUTTONDOWN>(this, &CHXT_GMouseDlg::OnLButtonDown);
    // A dialog's class sends a quick second press as a double click: it is a press all the same.
    m.On<WM_LBUTTONDBLCLK>(this, &CHXT_GMouseDlg::OnLButtonDown);
    m.On<WM_LBUTTONUP>(this, &CHXT_GMouseDlg::OnLButtonUp);
    m.On<WM_TIMER>(this, &CHXT_GMouseDlg::OnTimer);
    m.On<WM_CTLCOLOREDIT>(this, &CHXT_GMouseDlg::OnCtlColor);
    m.On<WM_CTLCOLORLISTBOX>(this, &CHXT_GMouseDlg::OnCtlColor);
    m.On<WM_CTLCOLORSTATIC>(this, &CHXT_GMouseDlg::OnCtlColor);
    m.On<WM_CTLCOLORBTN>(this, &CHXT_GMouseDlg::OnCtlColor);
    m.On<WM_CTLCOLORSCROLLBAR>(this, &CHXT_GMouseDlg::OnCtlColor);
    m.On<WM_MEASUREITEM>(this, &CHXT_GMouseDlg::OnMeasureItem);
    m.On<WM_DRAWITEM>(this, &CHXT_GMouseDlg::OnDrawItem);
    m.Set(kTrayNotifyMessage, [this](WPARAM icon, LPARAM mouseMessage) -> std::optional<LRESULT> {
        return OnTrayNotification(Hwnd(), icon, mouseMessage, trayMenu_);
    });
    m.OnCommand({ID_TRAY_SHOW, ID_TRAY_SHOW_CN}, this, &CHXT_GMouseDlg::OnShowWindow);
    m.OnCommand({ID_TRAY_STARTUP, ID_TRAY_STARTUP_CN}, this, &CHXT_GMouseDlg::OnStartWithWindows);
    m.OnCommand({ID_TRAY_PROFILES, ID_TRAY_PROFILES_CN}, this, &CHXT_GMouseDlg::OnProgramProfiles);
    m.OnCommand({ID_TRAY_EXIT, ID_TRAY_EXIT_CN}, this, &CHXT_GMouseDlg::CloseProgram);
    m.OnCommand({ID_TRAY_INDICATOR}, this, &CHXT_GMouseDlg::OnShowIndicator);
    for (int slot = 1; slot <= kTraySlotCount; ++slot) {
        // As the window's slot buttons and Apply do.
        m.SetCommand(static_cast<UINT>(ID_TRAY_SLOT1 + slot - 1),
                     [this, slot](const CommandEvent&) { view_.SwitchToSlot(slot, [](bool) {}); });
    }
    trayMenu_.SetMarks([this] {
        const ProgramState& program = services_.program;
        return TrayMarks{program.CurConfig, program.indicatorOn, startWithWindows_ && startWithWindows_->Marked()};
    });
    for (const int id : EventMenuIds()) {
        m.SetCommand(static_cast<UINT>(id), [this](const CommandEvent& e) { view_.OnEventMenuCommand(e.id); });
    }
    m.SetCommand(kMacroListId, [this](const CommandEvent& e) { view_.OnMacroListCommand(e.code); });
    m.Set(kLineEditEndedMessage, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        view_.OnDelayEditEnded();
        return 0;
    });
    m.Set(kSaveFailedMessage, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        view_.TellSaveFailure();
        return 0;
    });
    m.Set(kStartBlinkMessage, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        view_.StartBlink();
        return 0;
    });
    // Carried out in the order the executor posted them, also under a message box or a file
    // dialog, whose loops dispatch them too.
    m.Set(kHostRequestMessage, [this](WPARAM kind, LPARAM direction) -> std::optional<LRESULT> {
        const std::optional<HostRequest> request = HostRequestOf(kind, direction);
        if (mouse_ && request) view_.Change([&] { mouse_->runtime.CarryOut(*request); });
        return 0;
    });
    m.On<WM_DEVICECHANGE>(this, &CHXT_GMouseDlg::OnDeviceChange);
    m.On<WM_POWERBROADCAST>(this, &CHXT_GMouseDlg::OnPowerBroadcast);
    commands_.Listen(m);
}

BOOL CHXT_GMouseDlg::OnDeviceChange(UINT event, LPARAM record) {
    if (mouse_ && mouse_->session.OnDeviceChange(services_.link, event, record) == DeviceChangeOutcome::MouseRemoved) {
        // The mouse is gone: the program ends without the other close steps, and without a question.
        view_.KeepUnsavedMacros();
        RemoveTrayIcon(Hwnd());
        DestroyWindow(Hwnd());
    }
    return TRUE;
}

void CHXT_GMouseDlg::OnPowerBroadcast(UINT, LPARAM) {
    if (mouse_) mouse_->runtime.Apply();  // after a resume the mouse gets its whole configuration again
}

HFONT CHXT_GMouseDlg::CurrentUiFont() const {
    return services_.program.language == LanguageMode::English ? EnglishUiFont() : ChineseUiFont();
}

BOOL CHXT_GMouseDlg::OnInitDialog() {
    HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE);
    const std::wstring aboutText = LoadResourceString(IDS_ABOUTBOX);
    if (systemMenu && !aboutText.empty()) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
    }
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    if (RunWindowStartup(*this)) {
        SetTimer(Hwnd(), kFinishStartupTimer, kFinishStartupUnpaintedMs, nullptr);
        // Never painted, the second half of the start-up follows its timer.
        if (startInTray_) AddTrayIcon(Hwnd(), ToWide(TrayTipText(services_.program)));
    }
    return TRUE;
}

void CHXT_GMouseDlg::FinishStartupOnce() {
    KillTimer(Hwnd(), kFinishStartupTimer);
    if (startupFinished_) return;
    startupFinished_ = true;
    RunStartupAfterFirstPaint(*this);
    // After the first apply, so that a bound program in front at start-up gets its slot next.
    if (mouse_) {
        appBindings_ = LoadAppBindings(AppsIniPathOf(services_.program.paths.ProgramDir));
        profileHost_.Start(Hwnd(), kProfileSettleTimer);
    }
    view_.PrefetchAfterFirstPaint();
    if (Hwnd()) commands_.Ready(Hwnd());  // not when the start-up closed the program
}

void CHXT_GMouseDlg::StartWorkers() {
    mouse_->session.NotifyWindow(Hwnd());
    mouse_->runtime.StartWorkers(Hwnd());
}

void CHXT_GMouseDlg::LoadConfiguration() {
    ProfileSnapshot snapshot(ports_.profile);
    if (const std::optional<std::u16string> keptAs = LoadStartupConfiguration(snapshot, services_.program)) {
        ports_.messages.ShowMessage(UnreadableConfigMessage(*keptAs));
    }
}

void CHXT_GMouseDlg::SetTitle() {
    SetWindowTextW(Hwnd(), ToWide(WindowTitle(services_.program.language)).c_str());
}

void CHXT_GMouseDlg::CreateFonts() {
    englishUiFont_ = CreateEnglishUiFont();
    chineseUiFont_ = CreateChineseUiFont();
    view_.SetFonts({EnglishUiFont(), ChineseUiFont()});
}

bool CHXT_GMouseDlg::LoadSkin() {
    services_.program.paths.SkinsDir = SkinsDirOf(services_.program.paths.ProgramDir);
    return view_.LoadDescriptions(Hwnd());
}

void CHXT_GMouseDlg::AbandonStartup() { DestroyWindow(Hwnd()); }

void CHXT_GMouseDlg::ShapeWindow() {
    view_.ShapeWindow(Hwnd());
}

void CHXT_GMouseDlg::LoadMacros() {
    ProfileSnapshot snapshot(ports_.profile);
    LoadStartupMacros(snapshot, ports_.messages, services_);
}

void CHXT_GMouseDlg::LoadMenus() {
    const LanguageMode language = services_.program.language;
    editMenu_.Load(language == LanguageMode::English ? IDR_MENU_MACRO_EN : IDR_MENU_MACRO_CN);
    trayMenu_.Load(language);
}

// Control id 0: an item of one of our menus, which all carry their record in the item data.
void CHXT_GMouseDlg::OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT& item) {
    if (controlId == 0) CHxtMenu::MeasureItem(item);
}

void CHXT_GMouseDlg::OnDrawItem(UINT controlId, const DRAWITEMSTRUCT& item) {
    if (controlId == 0) CHxtMenu::DrawItem(item);
}

bool CHXT_GMouseDlg::FindMouse() { return mouse_->session.Discover(services_.link); }

void CHXT_GMouseDlg::ShowPlugInMessage() {
    ports_.messages.ShowMessage(PlugInMessage(services_.program.language));
}

void CHXT_GMouseDlg::WaitBeforeFirstApply() { Sleep(kWaitBeforeFirstApply); }

void CHXT_GMouseDlg::Apply() {
    if (mouse_) mouse_->runtime.Apply();
}

void CHXT_GMouseDlg::ResetToFactory() {
    FactoryResetContext context{services_, ports_.profile, ports_.messages, [this] { view_.ReloadMacros(); },
                                [this] { Apply(); }};
    FactoryReset(context);
}

bool CHXT_GMouseDlg::OnSysCommand(UINT command, LPARAM) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal(Hwnd());
        return true;
    }
    if ((command & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(Hwnd(), SW_MINIMIZE);
        return true;
    }
    return false;  // default processing turns SC_CLOSE (Alt+F4) into WM_CLOSE
}

void CHXT_GMouseDlg::OnClose() { CloseProgram(); }

void CHXT_GMouseDlg::CloseProgram() {
    // The keyboard goes back to the desktop first; the user may keep the program for unsaved macros.
    if (!view_.ReadyToClose()) return;
    // Alt may still count as held down by input the program injected; release it.
    for (int i = 0; i < 7; ++i) ports_.injector.KeyEvent(VK_MENU, 0, kKeyUp);
    RemoveTrayIcon(Hwnd());
    if (mouse_) mouse_->runtime.PrepareClose();  // the mouse's exit command, the pointer speed back to 10
    DestroyWindow(Hwnd());
}

void CHXT_GMouseDlg::OnPaint() {
    view_.Paint(icon_);
    // Every paint before the second half brings its timer forward to 1 ms; setting it again is harmless.
    if (!startupFinished_) SetTimer(Hwnd(), kFinishStartupTimer, kFinishStartupAfterPaintMs, nullptr);
}

BOOL CHXT_GMouseDlg::OnEraseBkgnd(HDC) { return TRUE; }

HICON CHXT_GMouseDlg::OnQueryDragIcon() { return icon_; }

void CHXT_GMouseDlg::OnEnterOrEscape() {}

void CHXT_GMouseDlg::OnMouseMove(POINT point) { view_.OnMouseMove(point); }
void CHXT_GMouseDlg::OnLButtonDown(POINT point) { view_.OnLButtonDown(point); }
void CHXT_GMouseDlg::OnLButtonUp(POINT point) { view_.OnLButtonUp(point); }
void CHXT_GMouseDlg::OnTimer(UINT_PTR id) {
    if (id == kFinishStartupTimer) {
        FinishStartupOnce();
        return;
    }
    if (id == kProfileSettleTimer) {
        profileHost_.OnTimer();
        return;
    }
    view_.OnTimer(id);
}

HBRUSH CHXT_GMouseDlg::OnCtlColor(HDC dc, HWND) { return ColourChildControl(dc, CurrentUiFont()); }

void CHXT_GMouseDlg::OnShowWindow() { ShowFromTray(Hwnd()); }

void CHXT_GMouseDlg::OfferStartWithWindows(StartupTaskPort& task) {
    startWithWindows_.emplace(task, FromWide(ModuleFileName()));
}

void CHXT_GMouseDlg::OnShowIndicator() {
    ProgramState& program = services_.program;
    program.indicatorOn = !program.indicatorOn;
    if (!ConfigFile(ports_.profile, program.config).WriteInitFlag(program.paths.ConfigIniPath, kIndicatorKey,
                                                                   program.indicatorOn)) {
        program.configSaveFailed.store(true);
        view_.TellSaveFailure();
    }
}

ProgramProfilePorts CHXT_GMouseDlg::ProfilePorts() {
    return ProgramProfilePorts{
        [this](const ProfileSwitch& to) { view_.Change([&] { mouse_->runtime.SwitchProfile(to); }); },
        [this] { return services_.handoff.PendingInput() != 0; },
        [this](std::u16string_view program) { return appBindings_.SlotFor(program); }};
}

void CHXT_GMouseDlg::OnStartWithWindows() {
    if (!startWithWindows_ || startWithWindows_->Toggle()) return;
    ports_.messages.ShowMessage(services_.program.language == LanguageMode::English
                                    ? u"The task scheduler did not accept the change of the start with Windows."
                                    : u"任务计划程序未接受开机启动的更改。");
}

void CHXT_GMouseDlg::OnProgramProfiles() {
    const LanguageMode language = services_.program.language;
    // Read afresh each time: the user may have edited the file by hand meanwhile. Beside config.ini.
    const std::u16string path = AppsIniPathOf(services_.program.paths.ProgramDir);
    const std::optional<AppBindings> edited =
        ShowProgramProfilesDialog(Hwnd(), language, LoadAppBindings(path), ports_.files, profileHost_.LastProgram());
    if (!edited) return;
    if (!SaveAppBindings(ports_.profile, path, *edited)) {
        ports_.messages.ShowMessage(AppsSaveFailedMessage(language));
        return;
    }
    // What is in front now is measured against the bindings as saved.
    appBindings_ = *edited;
    profileHost_.Recheck();
}
