#include "ui/main_window_controller.h"

#include <mutex>

#include "config/config_file.h"

RepaintArea MainWindowController::PageArea() {
    return Page() == WindowPage::Advanced && context_.shell.MacroEditorShown() ? RepaintArea::OutsideMacroEditor
                                                                                 : RepaintArea::Whole;
}

void MainWindowController::MouseMove(std::int64_t x, std::int64_t y) {
    if (!model_.MouseMove(x, y, Page())) return;
    context_.shell.Repaint(PageArea());
    context_.shell.PaintNow();
}

void MainWindowController::Press(std::int64_t x, std::int64_t y) {
    const MainWindowModel::PressResult press = model_.Press(x, y, Page());
    if (press.repaint) context_.shell.Repaint(RepaintArea::Whole);
    Carry(press.action);
}

void MainWindowController::Release(std::int64_t x, std::int64_t y) {
    const UiAction action = model_.Release();
    context_.shell.Repaint(RepaintArea::Whole);
    if (action.command == UiCommand::Minimise) {
        context_.shell.Minimise(x, y);
        return;
    }
    Carry(action);
}

// [later] The settings of the pages, the popups, the macro editor, the apply, the slots, the
// exchange files, the factory reset and the language switch are carried out here.
void MainWindowController::Carry(const UiAction& action) {
    switch (action.command) {
        case UiCommand::ShowPage: ShowPage(action.page); break;
        case UiCommand::MoveWindow: context_.shell.StartWindowMove(action.x, action.y); break;
        case UiCommand::CloseToTray: CloseToTray(); break;
        case UiCommand::HideToTray: context_.shell.HideToTray(); break;
        default: break;
    }
}

void MainWindowController::ShowPage(WindowPage page) {
    ThreadFlags& flags = context_.flags;
    flags.ShowPage(page);
    switch (page) {
        case WindowPage::Main:
            if (!flags.BlinkRunning.load()) context_.shell.StartBlinkIndicator();
            context_.shell.Repaint(RepaintArea::Whole);
            break;
        case WindowPage::Colour:
            if (!flags.PreviewRunning.exchange(true)) context_.shell.StartLedPreview();
            context_.shell.Repaint(RepaintArea::Whole);
            break;
        case WindowPage::Advanced:
            context_.shell.Repaint(PageArea());
            // [later] The macro editor's controls are created here and the macro list refilled.
            context_.shell.PaintNow();
            break;
    }
}

void MainWindowController::CloseToTray() {
    ProgramState& program = context_.program;
    {
        std::lock_guard<std::recursive_mutex> hold(program.configLock);
        ConfigFile file(context_.profile, program.config, program.configLock);
        file.SaveDpiLevel(program.paths.ConfigIniPath, kAppliedSlot);
        file.LoadConfig(program.paths.ConfigIniPath, kAppliedSlot, false, program.language.load());
    }
    context_.shell.HideToTray();
    context_.shell.Repaint(RepaintArea::Whole);
}

PaintSnapshot MainWindowController::PaintStateNow(std::int32_t maskWidth, std::int32_t maskHeight) {
    const ProgramState& program = context_.program;
    const ThreadFlags& flags = context_.flags;
    PaintSnapshot snapshot;
    PaintState& state = snapshot.state;
    state.page = Page();
    state.language = program.language.load();
    state.maskWidth = maskWidth;
    state.maskHeight = maskHeight;
    state.mainHot = model_.MainHot();
    state.advancedHot = model_.AdvancedHot();
    state.colourHot = model_.ColourHot();
    state.pressed = model_.Pressed();
    {
        std::unique_lock<std::recursive_mutex> hold(program.configLock, std::try_to_lock);
        if (!hold.owns_lock() && !painted_) hold.lock();  // nothing painted yet: worth the wait
        snapshot.stale = !hold.owns_lock();
        if (hold.owns_lock()) {
            painted_ = true;
            paintedCurConfig_ = program.CurConfig;
            paintedConfig_ = program.config;
        }
    }
    state.curConfig = paintedCurConfig_;
    state.config = paintedConfig_;
    state.driverActive = flags.DriverActive.load();
    state.startKeyIndex = flags.StartKeyIndex.load();
    state.blinkPhase = flags.BlinkPhase.load();
    state.previewOff = flags.PreviewOff.load();
    state.previewColour = flags.PreviewColour.load();
    context_.macros.Read([&](const MacroStoreData& macros) {
        for (std::size_t i = 0; i < kMaxMacros; ++i) state.macroNames[i] = macros.records[i].Name();
        if (macros.selected >= 0 && macros.selected < kMaxMacros) {
            state.selectedRepeatMode = macros.records[static_cast<std::size_t>(macros.selected)].repeatMode;
        }
    });
    return snapshot;
}
