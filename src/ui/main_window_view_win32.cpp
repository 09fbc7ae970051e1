// Loading, shaping and painting of the main window's skin, and the window's side of its behaviour.
#include "ui/main_window_view_win32.h"

#include <cstdio>
#include <string>

#include "config/config_file.h"
#include "core/user_texts.h"
#include "platform/measurement_log_win32.h"
#include "platform/profile_snapshot.h"
#include "platform/window_framework_win32.h"
#include "skin/paint_main_window.h"
#include "skin/window_region_win32.h"
#include "skin/skin_entries.h"
#include "ui/tray_win32.h"
#include "ui/warning_dialog_win32.h"

namespace {

// The animations' timers.
constexpr UINT_PTR kBlinkTimer = 0x485A;
constexpr UINT_PTR kLedPreviewTimer = 0x485B;
UINT_PTR TimerOf(Animation which) { return which == Animation::Blink ? kBlinkTimer : kLedPreviewTimer; }

}  // namespace

MainWindowView::MainWindowView(ProgramState& program, PressHandoff& handoff, MacroStore& macros,
                               MacroEditorState& editorState, WindowPorts ports,
                               std::function<void()> apply, std::function<void()> factoryReset)
    : program_(program),
      macros_(macros),
      ports_(ports),
      editor_(program, macros, editorState, ports, skin_.editorRects, [this] { return CurrentFont(); }),
      controller_(skin_, MainWindowContext{program, handoff, macros, ports.profile, *this, std::move(apply),
                                           std::move(factoryReset), this, &ports.files, &ports.messages,
                                           &editor_.Panel()}) {}

bool MainWindowView::LoadDescriptions(HWND window) {
    window_ = window;
    ports_.messages.SetOwner(window);
    ports_.files.SetOwner(window);
    ports_.keys.SetWindow(window);
    editor_.SetWindow(window);
    const LanguageMode language = program_.language.load();
    if (!LoadSkinInto(skin_, language, [] {})) return false;
    for (const WindowPage page : {WindowPage::Main, WindowPage::Advanced, WindowPage::Colour}) {
        const PagePictures pictures = PicturesOf(page);
        for (const std::u16string_view picture : {pictures.normal, pictures.over, pictures.down}) {
            const std::u16string path = program_.paths.SkinsDir + u"\\" + std::u16string(picture);
            if (!ports_.messages.FileExists(path)) {
                ports_.messages.ShowMessage(MissingSkinFileMessage(language, path));
                return false;
            }
        }
    }
    return true;
}

bool MainWindowView::LoadSkinInto(SkinSet& skin, LanguageMode language, std::function<void()> onMissingFile) {
    ProfileSnapshot descriptions(ports_.profile);
    SkinReadContext context{descriptions, ports_.messages, std::move(onMissingFile)};
    context.language = language;
    const std::u16string& dir = program_.paths.SkinsDir;
    // Main (with the function names), colour, advanced, then the warning; the first missing file ends it.
    for (auto* load : {&LoadMainSkin, &LoadColorSkin, &LoadAdvancedSkin, &LoadWarningSkin}) {
        if (context.closeRequested) break;
        load(context, dir, language, skin);
    }
    return !context.closeRequested;
}

bool MainWindowView::LoadSkinOf(LanguageMode language) {
    SkinSet fresh;
    if (!LoadSkinInto(fresh, language, [] {})) return false;
    popup_.Destroy();  // it shows the old language's names
    skin_ = std::move(fresh);
    return true;
}

void MainWindowView::PrefetchFirstPaint(const std::u16string& skinsDir) {
    const PagePictures main = PicturesOf(WindowPage::Main);
    const auto path = [&](std::u16string_view picture) { return ToWide(skinsDir + u"\\" + std::u16string(picture)); };
    // In the order of need: the shape needs the normal picture and the mask, the first paint the
    // pressed picture and the slider knob.
    pictures_.Prefetch({path(main.normal), ToWide(MaskImagePathOf(skinsDir)), path(main.down), path(kSliderPicture)});
}

void MainWindowView::PrefetchAfterFirstPaint() {
    // Only a pointer over the window needs the hover picture; decoding it before the first paint
    // would take the processor from the window's thread.
    pictures_.Prefetch({ToWide(program_.paths.SkinsDir + u"\\" + std::u16string(PicturesOf(WindowPage::Main).over))});
}

void MainWindowView::ShapeWindow(HWND window) {
    window_ = window;
    program_.paths.MaskImagePath = MaskImagePathOf(program_.paths.SkinsDir);
    const std::shared_ptr<const SkinBitmap> maskPicture = pictures_.Get(ToWide(program_.paths.MaskImagePath));
    const MaskPixels mask = maskPicture ? PixelsOf(*maskPicture) : MaskPixels{};
    RECT client{};
    GetClientRect(window, &client);
    // The mask cuts the page pictures: one of another size (a 1x1 mask would leave an invisible
    // window serving the mouse) gives the pictures' rectangle instead.
    const std::shared_ptr<const SkinBitmap> page =
        pictures_.Get(ToWide(program_.paths.SkinsDir + u"\\" + std::u16string(PicturesOf(WindowPage::Main).normal)));
    const MaskShape shape = page ? BuildMaskShape(mask, page->width, page->height, true)
                                 : BuildMaskShape(mask, client.right - client.left, client.bottom - client.top);
    SetWindowShape(window, shape);
    maskWidth_ = shape.width;
    maskHeight_ = shape.height;
    surface_.PrepareInBackground(maskWidth_, maskHeight_);
    repaintRegion_ = BuildRepaintRegion(shape, skin_.editorRects);
}

void MainWindowView::Paint(HICON icon) {
    // A popup that hid after a submenu choice goes now, outside its own handlers.
    popup_.DestroyIfClosePending();
    PaintScope paint(window_);
    if (IsIconic(window_)) {
        SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
        RECT client{};
        GetClientRect(window_, &client);
        DrawIcon(paint.dc(), (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
        return;
    }
    const PaintState state = controller_.PaintStateNow(maskWidth_, maskHeight_);
    if (!surface_.Prepare(maskWidth_, maskHeight_)) return;
    GdiCanvas canvas(surface_, pictures_, ToWide(program_.paths.SkinsDir), fonts_.english, fonts_.chinese);
    if (!canvas.Ready()) return;
    PaintMainWindow(canvas, skin_, state);
    canvas.CopyTo(paint.dc());
    if (!painted_) {
        painted_ = true;
        LogFirstPaint();
    }
}

void MainWindowView::LogFirstPaint() {
    if (program_.paths.FirstPaintLog.empty()) return;
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    const double ms = static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
    char line[64];
    std::snprintf(line, sizeof line, "first paint %.1f ms after process start\n", ms);
    AppendToMeasurementLog(program_.paths.FirstPaintLog, line);
}

void MainWindowView::Repaint(RepaintArea area) {
    if (area == RepaintArea::OutsideMacroEditor && repaintRegion_) {
        InvalidateRgn(window_, repaintRegion_.get(), TRUE);
    } else {
        InvalidateRect(window_, nullptr, TRUE);
    }
}

void MainWindowView::StartWindowMove(std::int64_t x, std::int64_t y) {
    PostMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(static_cast<int>(x), static_cast<int>(y)));
}

void MainWindowView::Minimise(std::int64_t x, std::int64_t y) {
    PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(static_cast<int>(x), static_cast<int>(y)));
}

void MainWindowView::ShowStateChange(const IndicatorState& before, const IndicatorState& after) {
    SetTrayTip(window_, ToWide(TrayTipText(program_)));
    const bool visible = IsWindowVisible(window_) && !IsIconic(window_);
    if (!IndicatorWanted(program_.indicatorOn, visible, GetForegroundWindow() == window_)) return;
    const LanguageMode language = program_.language.load();
    indicator_.Show(IndicatorText(before, after, language), language);
}

void MainWindowView::HideToTray() {
    ::HideToTray(window_, ToWide(TrayTipText(program_)));
    if (!program_.trayNoticeShown) {
        // Once per installation: a window gone without a word looks like a program that ended.
        const LanguageMode language = program_.language.load();
        ShowTrayBalloon(window_, ToWide(WindowTitle(language)), ToWide(std::u16string(TrayNoticeMessage(language))));
        program_.trayNoticeShown = true;
        ConfigFile(ports_.profile, program_.config).WriteInitFlag(program_.paths.ConfigIniPath, kTrayNoticeKey, true);
    }
    // A program that may sit in the tray for days gives back what only painting needs.
    pictures_.Forget();
    surface_.Release();
}

void MainWindowView::OnTimer(UINT_PTR id) {
    for (const Animation which : {Animation::Blink, Animation::LedPreview}) {
        if (id == TimerOf(which)) controller_.AnimationStep(which);
    }
}

void MainWindowView::ScheduleAnimation(Animation which, AnimationDelay delay) {
    // Setting a timer again replaces its period.
    if (delay) SetTimer(window_, TimerOf(which), static_cast<UINT>(delay->count()), nullptr);
    else KillTimer(window_, TimerOf(which));
}

POINT MainWindowView::PopupOrigin(int button) const {
    RECT window{};
    GetWindowRect(window_, &window);
    const SkinEntry& box = skin_.main.At(MainEntry::FunctionBox(button));
    return {static_cast<LONG>(window.left + box.x), static_cast<LONG>(window.top + box.y + box.height)};
}

int MainWindowView::ShowLeftClickWarning(int button) {
    return ShowWarningDialog(window_, PopupOrigin(button), skin_.warning, program_.paths.SkinsDir,
                             program_.language.load(), fonts_);
}

void MainWindowView::OpenFunctionPopup(int button) {
    FunctionPopup::Context context{program_.paths.SkinsDir, program_.language.load(), fonts_, skin_.functionNames};
    macros_.Read([&](const MacroStoreData& macros) {
        for (std::size_t i = 0; i < kMaxMacros; ++i) context.macroNames[i] = macros.records[i].Name();
        context.macroCount = macros.count;
    });
    popup_.Open(window_, PopupOrigin(button), context, [this](int code) {
        controller_.ChooseFunction(code);
        // The new function shows, and the paint destroys a popup a submenu choice hid.
        InvalidateRect(window_, nullptr, TRUE);
    });
}

HFONT MainWindowView::CurrentFont() const {
    return program_.language.load() == LanguageMode::English ? fonts_.english : fonts_.chinese;
}

bool MainWindowView::PreTranslate(const MSG& msg) {
    if (editor_.RecordKey(msg)) return true;
    if (msg.message == WM_RBUTTONUP && controller_.Page() == WindowPage::Advanced) editor_.Panel().OpenEventMenu();
    return DialogMustNotSee(msg.message, msg.wParam);
}
