// Loading, shaping, painting and the mouse of the main window's skin.
#include "app/main_skin_win32.h"

#include <cstdio>
#include <mutex>

#include "app/startup.h"
#include "core/thread_flags.h"
#include "app/tray_win32.h"
#include "config/config_file.h"
#include "macros/macro_store.h"
#include "platform/message_box_win32.h"
#include "platform/profile_win32.h"
#include "platform/window_framework_win32.h"
#include "skin/paint_main_window.h"
#include "skin/window_region_win32.h"

namespace {

// A paint that had to use an older configuration copy asks for one more paint shortly.
constexpr UINT_PTR kStaleRepaintTimer = 0x4858;
constexpr UINT kStaleRepaintMs = 50;
void CALLBACK RepaintOnce(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    InvalidateRect(window, nullptr, FALSE);
}

WindowPage CurrentPage() { return SharedFlags().CurrentPage.load(); }

// Everything the paint reads, taken once at its start. The configuration comes from a whole copy
// taken under the configuration lock; while another thread holds that lock (an apply broadcasting
// a settings change that waits for this very thread), the last copy serves and *stale is set.
PaintState GatherPaintState(const MainWindowModel& model, const ProgramState& program, SIZE mask,
                            PaintedConfig& last, bool* stale) {
    PaintState state;
    state.page = CurrentPage();
    state.language = program.language.load();
    state.maskWidth = mask.cx;
    state.maskHeight = mask.cy;
    state.mainHot = model.MainHot();
    state.advancedHot = model.AdvancedHot();
    state.colourHot = model.ColourHot();
    state.pressed = model.Pressed();
    std::unique_lock<std::recursive_mutex> hold(Program().configLock, std::try_to_lock);
    if (!hold.owns_lock() && !last.valid) hold.lock();  // nothing painted yet: worth the wait
    *stale = !hold.owns_lock();
    if (hold.owns_lock()) last = {true, program.CurConfig, program.config};
    state.curConfig = last.curConfig;
    state.config = last.config;
    const ThreadFlags& flags = SharedFlags();
    state.driverActive = flags.DriverActive.load();
    state.startKeyIndex = flags.StartKeyIndex.load();
    state.blinkPhase = flags.BlinkPhase.load();
    state.previewOff = flags.PreviewOff.load();
    state.previewColour = flags.PreviewColour.load();
    Macros().Read([&](const MacroStoreData& macros) {
        for (std::size_t i = 0; i < kMaxMacros; ++i) state.macroNames[i] = macros.records[i].Name();
        if (macros.selected >= 0 && macros.selected < kMaxMacros) {
            state.selectedRepeatMode = macros.records[static_cast<std::size_t>(macros.selected)].repeatMode;
        }
    });
    return state;
}

}  // namespace

MainSkin::MainSkin()
    : model_(skin_),
      previewClock_(SharedFlags().AnimatorBell()),
      previewContext_{SharedFlags(), previewClock_, {}} {}

MainSkin::~MainSkin() { preview_.Stop(); }

void MainSkin::LoadDescriptions(HWND window, ProgramState& program, std::function<void()> closeProgram) {
    Win32Profile profile;
    MessageBoxPort messages(L"", window);
    SkinReadContext context{profile, messages, std::move(closeProgram)};
    const std::u16string& dir = program.paths.SkinsDir;
    const LanguageMode language = program.language.load();
    LoadMainSkin(context, dir, language, skin_);
    LoadColorSkin(context, dir, language, skin_);
    LoadAdvancedSkin(context, dir, language, skin_);
    // [later] The macro editor's four controls are constructed here, before the warning layout.
    LoadWarningSkin(context, dir, language, skin_);
}

void MainSkin::ShapeWindow(HWND window, ProgramState& program) {
    program.paths.MaskImagePath = MaskImagePathOf(program.paths.SkinsDir);
    RECT client{};
    GetClientRect(window, &client);
    const MaskShape shape = ShapeWindowFromMask(window, ToWide(program.paths.MaskImagePath),
                                                client.right - client.left, client.bottom - client.top);
    maskWidth_ = shape.width;
    maskHeight_ = shape.height;
    repaintRegion_ = BuildRepaintRegion(shape, skin_.editorRects);
    // Set before any preview thread runs, which reads it.
    previewContext_.invalidate = [window] { InvalidateRect(window, nullptr, TRUE); };
}

void MainSkin::Paint(HWND window, HFONT englishFont, HFONT chineseFont, HICON icon) {
    PaintScope paint(window);
    if (IsIconic(window)) {
        SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
        RECT client{};
        GetClientRect(window, &client);
        DrawIcon(paint.dc(), (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
        return;
    }
    bool stale = false;
    const PaintState state = GatherPaintState(model_, Program(), MaskSize(), lastConfig_, &stale);
    if (stale) SetTimer(window, kStaleRepaintTimer, kStaleRepaintMs, RepaintOnce);
    GdiCanvas canvas(paint.dc(), maskWidth_, maskHeight_, pictures_, ToWide(Program().paths.SkinsDir), englishFont,
                     chineseFont);
    if (!canvas.Ready()) return;
    PaintMainWindow(canvas, skin_, state);
    canvas.CopyTo(paint.dc());
    if (!painted_) {
        painted_ = true;
        LogFirstPaint();
    }
}

void MainSkin::LogFirstPaint() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(kFirstPaintLogVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    const double ms = static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
    if (FILE* log = _wfopen(path, L"a")) {
        std::fprintf(log, "first paint %.1f ms after process start\n", ms);
        std::fclose(log);
    }
}

void MainSkin::Invalidate(HWND window) const {
    // The repaint region only matters while the macro editor's controls exist; without child
    // windows the whole page must be painted, or their places would keep the last page.
    if (CurrentPage() == WindowPage::Advanced && repaintRegion_ && GetWindow(window, GW_CHILD) != nullptr) {
        InvalidateRgn(window, repaintRegion_.get(), TRUE);
    } else {
        InvalidateRect(window, nullptr, TRUE);
    }
}

void MainSkin::OnMouseMove(HWND window, POINT point) {
    if (model_.MouseMove(point.x, point.y, CurrentPage())) {
        Invalidate(window);
        UpdateWindow(window);
    }
}

void MainSkin::OnLButtonDown(HWND window, POINT point) {
    const MainWindowModel::PressResult press = model_.Press(point.x, CurrentPage());
    if (press.repaint) InvalidateRect(window, nullptr, TRUE);
    switch (press.action.command) {
        case UiCommand::ShowPage: ShowPage(window, static_cast<WindowPage>(press.action.value)); break;
        case UiCommand::MoveWindow:
            // Windows' own move loop, as if the caption had been pressed.
            PostMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
            break;
        default: break;  // [later] the settings of the pages, the popups and the macro editor
    }
}

void MainSkin::OnLButtonUp(HWND window, POINT point, ProgramState& program) {
    const UiAction action = model_.Release();
    InvalidateRect(window, nullptr, TRUE);
    switch (action.command) {
        case UiCommand::CloseToTray: CloseToTray(window, program); break;
        case UiCommand::Minimise: PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(point.x, point.y)); break;
        case UiCommand::HideToTray: HideToTray(window, ToWide(WindowTitle(program.language.load()))); break;
        default: break;  // [later] apply, slots, import and export, factory reset, language
    }
}

void MainSkin::ShowPage(HWND window, WindowPage page) {
    ThreadFlags& flags = SharedFlags();
    flags.ShowPage(page);
    switch (page) {
        case WindowPage::Main:
            if (!flags.BlinkRunning.load() && startBlink_) startBlink_();
            InvalidateRect(window, nullptr, TRUE);
            break;
        case WindowPage::Colour:
            if (!flags.PreviewRunning.exchange(true)) {
                const auto dpiLevel = ConfigFieldReader(Program(), &ActiveConfig::DPI_LEVEL);
                preview_.Start([this, dpiLevel](std::stop_token stop) { RunLedPreview(previewContext_, dpiLevel, stop); });
            }
            InvalidateRect(window, nullptr, TRUE);
            break;
        case WindowPage::Advanced:
            Invalidate(window);
            // [later] The macro editor's controls are created here and the macro list refilled.
            UpdateWindow(window);
            break;
    }
}

void MainSkin::CloseToTray(HWND window, ProgramState& program) {
    {
        // The stage chosen on the mouse survives; every edit not applied is dropped.
        std::lock_guard<std::recursive_mutex> hold(program.configLock);
        Win32Profile profile;
        ConfigFile file(profile, program.config, program.configLock);
        file.SaveDpiLevel(program.paths.ConfigIniPath, kAppliedSlot);
        file.LoadConfig(program.paths.ConfigIniPath, kAppliedSlot, false, program.language.load());
    }
    HideToTray(window, ToWide(WindowTitle(program.language.load())));
    InvalidateRect(window, nullptr, TRUE);
}
