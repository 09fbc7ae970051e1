// The main window's start-up, system menu, painting and closing.
#include "app/main_dialog_win32.h"

#include "app/about_dialog_win32.h"
#include "app/placeholder_face_win32.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "app/ui_fonts_win32.h"
#include "platform/profile_win32.h"
#include "resource.h"

CHXT_GMouseDlg::CHXT_GMouseDlg()
    : Dialog(IDD_HXT_GMOUSE_DIALOG), icon_(LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    MessageTable& m = Messages();
    m.On<WM_INITDIALOG>(this, &CHXT_GMouseDlg::OnInitDialog);
    m.On<WM_SYSCOMMAND>(this, &CHXT_GMouseDlg::OnSysCommand);
    m.On<WM_CLOSE>(this, &CHXT_GMouseDlg::OnClose);
    m.On<WM_PAINT>(this, &CHXT_GMouseDlg::OnPaint);
    m.On<WM_ERASEBKGND>(this, &CHXT_GMouseDlg::OnEraseBkgnd);
    m.On<WM_QUERYDRAGICON>(this, &CHXT_GMouseDlg::OnQueryDragIcon);
    // The window lives as long as the program: Enter and Esc must not end it.
    m.OnCommand({IDOK, IDCANCEL}, this, &CHXT_GMouseDlg::OnEnterOrEscape);
}

HFONT CHXT_GMouseDlg::CurrentUiFont() const {
    return Program().language == LanguageMode::English ? EnglishUiFont() : ChineseUiFont();
}

BOOL CHXT_GMouseDlg::OnInitDialog() {
    // [later] Clear the executor hand-off flags, then start the worker threads.

    HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE);
    const std::wstring aboutText = LoadResourceString(IDS_ABOUTBOX);
    if (systemMenu && !aboutText.empty()) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
    }
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));

    ProgramState& program = Program();
    Win32Profile profile;
    LoadStartupConfiguration(profile, program);
    SetWindowTextW(Hwnd(), ToWide(WindowTitle(program.language)).c_str());
    program.paths.SkinsDir = SkinsDirOf(program.paths.ProgramDir);
    englishUiFont_ = CreateEnglishUiFont();
    chineseUiFont_ = CreateChineseUiFont();

    // [later] Skin, window shape, macros, menus, device discovery and the first apply.
    return TRUE;
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
    // [later] Remove the tray icon, send the mouse its exit command, reset the pointer speed.

    // Alt may still count as held down by input the program injected; release it.
    for (int i = 0; i < 7; ++i) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    DestroyWindow(Hwnd());
}

void CHXT_GMouseDlg::OnPaint() {
    PaintScope paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;

    // Drawn off-screen and copied in one go, so the window never flickers.
    OwnedDC memory(CreateCompatibleDC(paint.dc()));
    OwnedBitmap canvas(CreateCompatibleBitmap(paint.dc(), width, height));
    if (!memory || !canvas) return;
    {
        SelectScope selected(memory.get(), canvas.get());
        const ProgramState& program = Program();
        DrawPlaceholderFace(memory.get(), client, ToWide(WindowTitle(program.language)), program.CurConfig,
                            program.language, CurrentUiFont());
        BitBlt(paint.dc(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

BOOL CHXT_GMouseDlg::OnEraseBkgnd(HDC) { return TRUE; }

HICON CHXT_GMouseDlg::OnQueryDragIcon() { return icon_; }

void CHXT_GMouseDlg::OnEnterOrEscape() {}
