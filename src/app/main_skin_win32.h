// The main window's skin: its description tables, its shape and repaint region, its painting,
// and the mouse on its pages (hot entries, the pressed state, the page tabs and the frame's
// window controls). The dialog forwards its messages here.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/animators.h"
#include "app/program_services.h"
#include "platform/handles_win32.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/mask_region.h"
#include "skin/skin_description.h"
#include "ui/main_window_model.h"

// When this environment variable names a file, the first completed paint appends to it the
// milliseconds since the process was created: start-up time as the user sees it.
inline constexpr wchar_t kFirstPaintLogVariable[] = L"HXT_FIRST_PAINT_LOG";

// The configuration as the last paint saw it.
struct PaintedConfig {
    bool valid = false;
    int curConfig = 0;
    ActiveConfig config;
};

class MainSkin {
public:
    explicit MainSkin(ProgramServices& services);
    ~MainSkin();
    MainSkin(const MainSkin&) = delete;
    MainSkin& operator=(const MainSkin&) = delete;

    // Start-up: the page descriptions (main, colour, advanced) and the warning layout of the
    // language. A missing file is reported by a message box owned by window and ends the
    // program through closeProgram.
    void LoadDescriptions(HWND window, std::function<void()> closeProgram);
    // Start-up: MaskImagePath, the window's outline (set with redraw) and RepaintRegion. A
    // missing mask gives the window's own rectangle.
    void ShapeWindow(HWND window);

    // WM_PAINT: the current page composed off screen and copied in one go.
    void Paint(HWND window, HFONT englishFont, HFONT chineseFont, HICON icon);

    // The mouse on the pages: hot entries, the pressed state, the page tabs, the frame's window
    // controls (close to the tray, minimise, tray). The other controls come with their features.
    void OnMouseMove(HWND window, POINT point);
    void OnLButtonDown(HWND window, POINT point);
    void OnLButtonUp(HWND window, POINT point);

    // Repaints what the page shows: on the advanced page the repaint region, which leaves the
    // macro editor's controls alone, else the whole client area.
    void Invalidate(HWND window) const;

    // The main page shown again must blink the start key again; the device's indicator does that.
    void SetBlinkStarter(std::function<void()> start) { startBlink_ = std::move(start); }

    const SkinSet& Skin() const { return skin_; }
    SIZE MaskSize() const { return {maskWidth_, maskHeight_}; }
    HRGN RepaintRegion() const { return repaintRegion_.get(); }
    const MainWindowModel& Model() const { return model_; }

private:
    void ShowPage(HWND window, WindowPage page);
    void CloseToTray(HWND window);
    void LogFirstPaint();

    ProgramServices& services_;
    SkinSet skin_;
    PictureCache pictures_;
    std::int32_t maskWidth_ = 0;
    std::int32_t maskHeight_ = 0;
    OwnedRegion repaintRegion_;
    MainWindowModel model_;
    std::function<void()> startBlink_;
    bool painted_ = false;
    PaintedConfig lastConfig_;

    // The colour page's LED preview, running while that page shows.
    BellClock previewClock_;
    AnimatorContext previewContext_;
    AnimatorThread preview_;
};
