// The main window's view: its skin (description tables, shape, repaint region, pictures), its
// painting and the LED preview of the colour page. It forwards the mouse to the controller and
// carries out what the controller asks of the window.
#pragma once

#include <windows.h>

#include <functional>

#include "core/program_state.h"
#include "core/thread_flags.h"
#include "macros/macro_store.h"
#include "platform/handles_win32.h"
#include "platform/profile_win32.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/mask_region.h"
#include "skin/skin_description.h"
#include "ui/animators.h"
#include "ui/function_popup_win32.h"
#include "ui/main_window_controller.h"

// When this environment variable names a file, the first completed paint appends to it the
// milliseconds since the process was created: start-up time as the user sees it.
inline constexpr wchar_t kFirstPaintLogVariable[] = L"HXT_FIRST_PAINT_LOG";

class MainWindowView : private MainWindowShell, private FunctionPopupPort {
public:
    // apply and factoryReset: the program's operations that the apply and reset controls start.
    MainWindowView(ProgramState& program, ThreadFlags& flags, MacroStore& macros, std::function<void()> apply,
                   std::function<void()> factoryReset);
    ~MainWindowView() override;
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    // Start-up: the page descriptions (main, colour, advanced) and the warning layout of the
    // language. A missing file is reported by a message box owned by window and ends the
    // program through closeProgram.
    void LoadDescriptions(HWND window, std::function<void()> closeProgram);
    // Start-up: MaskImagePath, the window's outline (set with redraw) and RepaintRegion. A
    // missing mask gives the window's own rectangle.
    void ShapeWindow(HWND window);

    // The language fonts, alive as long as the window: the paint and the popups write with them.
    void SetFonts(SkinFonts fonts) { fonts_ = fonts; }
    // WM_PAINT: the current page composed off screen and copied in one go.
    void Paint(HICON icon);

    void OnMouseMove(POINT point) { controller_.MouseMove(point.x, point.y); }
    void OnLButtonDown(POINT point) { controller_.Press(point.x, point.y); }
    void OnLButtonUp(POINT point) { controller_.Release(point.x, point.y); }
    void OnTimer(UINT_PTR id);

    // The main page shown again must blink the start key again; the mouse side does that.
    void SetBlinkStarter(std::function<void()> start) { startBlink_ = std::move(start); }

    const SkinSet& Skin() const { return skin_; }
    SIZE MaskSize() const { return {maskWidth_, maskHeight_}; }
    HRGN RepaintRegion() const { return repaintRegion_.get(); }
    const MainWindowModel& Model() const { return controller_.Model(); }

private:
    void Repaint(RepaintArea area) override;
    void PaintNow() override { UpdateWindow(window_); }
    bool MacroEditorShown() override { return GetWindow(window_, GW_CHILD) != nullptr; }
    void StartWindowMove(std::int64_t x, std::int64_t y) override;
    void Minimise(std::int64_t x, std::int64_t y) override;
    void HideToTray() override;
    void StartBlinkIndicator() override {
        if (startBlink_) startBlink_();
    }
    void StartLedPreview() override;
    void RetryShortly() override;
    int ShowLeftClickWarning(int button) override;
    void OpenFunctionPopup(int button) override;
    void DestroyFunctionPopup() override { popup_.Destroy(); }
    // Screen point just below the picture of button's function box.
    POINT PopupOrigin(int button) const;
    void LogFirstPaint();

    ProgramState& program_;
    ThreadFlags& flags_;
    MacroStore& macros_;
    SkinFonts fonts_;
    HWND window_ = nullptr;
    Win32Profile profile_;
    SkinSet skin_;
    PictureCache pictures_;
    std::int32_t maskWidth_ = 0;
    std::int32_t maskHeight_ = 0;
    OwnedRegion repaintRegion_;
    MainWindowController controller_;
    std::function<void()> startBlink_;
    bool painted_ = false;
    FunctionPopup popup_;

    // The colour page's LED preview, running while that page shows.
    BellClock previewClock_;
    AnimatorContext previewContext_;
    AnimatorThread preview_;
};
