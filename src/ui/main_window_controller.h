// The main window's behaviour, without Windows: it follows the pointer over the pages, carries
// out what a press or a release asks for against the program's state and the configuration
// file, and asks the window (MainWindowShell) for the effects only the window can have.
#pragma once

#include <cstdint>

#include "core/program_state.h"
#include "core/thread_flags.h"
#include "macros/macro_store.h"
#include "platform/profile_port.h"
#include "skin/paint_state.h"
#include "skin/skin_description.h"
#include "ui/main_window_model.h"

// What a repaint covers. On the advanced page the macro editor's controls paint themselves, so
// the page repaints around them while they are shown.
enum class RepaintArea { Whole, OutsideMacroEditor };

class MainWindowShell {
public:
    virtual ~MainWindowShell() = default;
    virtual void Repaint(RepaintArea area) = 0;
    // Paints what is invalid at once rather than when the window is next idle.
    virtual void PaintNow() = 0;
    virtual bool MacroEditorShown() = 0;
    // Windows' own move loop, as if the caption had been pressed at (x, y).
    virtual void StartWindowMove(std::int64_t x, std::int64_t y) = 0;
    virtual void Minimise(std::int64_t x, std::int64_t y) = 0;
    virtual void HideToTray() = 0;
    virtual void StartBlinkIndicator() = 0;
    virtual void StartLedPreview() = 0;
};

struct MainWindowContext {
    ProgramState& program;
    ThreadFlags& flags;
    MacroStore& macros;
    ProfilePort& profile;  // config.ini
    MainWindowShell& shell;
};

// Everything a paint reads, and whether its configuration is an older copy (see PaintStateNow).
struct PaintSnapshot {
    PaintState state;
    bool stale = false;
};

class MainWindowController {
public:
    MainWindowController(const SkinSet& skin, MainWindowContext context) : context_(context), model_(skin) {}

    void MouseMove(std::int64_t x, std::int64_t y);
    void Press(std::int64_t x, std::int64_t y);
    void Release(std::int64_t x, std::int64_t y);

    void ShowPage(WindowPage page);
    // The close control: the stage chosen on the mouse survives, every edit not applied is
    // dropped, and the window hides in the tray.
    void CloseToTray();

    // What the paint shows now. The configuration comes from a whole copy taken under the
    // configuration lock; while another thread holds it (an apply that broadcasts a settings
    // change and so waits for the window's own thread), the last copy serves and stale is set,
    // so the window paints again shortly. Only the very first paint waits for the lock.
    PaintSnapshot PaintStateNow(std::int32_t maskWidth, std::int32_t maskHeight);

    const MainWindowModel& Model() const { return model_; }

private:
    WindowPage Page() const { return context_.flags.CurrentPage.load(); }
    // The page as it is shown: on the advanced page around the macro editor's controls.
    RepaintArea PageArea();
    void Carry(const UiAction& action);

    MainWindowContext context_;
    MainWindowModel model_;
    // The configuration as the last paint saw it.
    bool painted_ = false;
    std::int32_t paintedCurConfig_ = 0;
    ActiveConfig paintedConfig_;
};
