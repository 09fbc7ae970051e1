#include "ui/main_window_controller.h"

#include <utility>

#include "config/config_file.h"
#include "config/exchange_file.h"
#include "core/user_texts.h"
#include "macros/macro_file.h"

RepaintArea MainWindowController::PageArea() {
    return Page() == WindowPage::Advanced && context_.shell.MacroEditorShown() ? RepaintArea::OutsideMacroEditor
                                                                                 : RepaintArea::Whole;
}

void MainWindowController::MouseMove(std::int64_t x, std::int64_t y) {
    if (const std::optional<UiAction> drag = model_.DragStep(x)) Carry(*drag);
    if (!model_.MouseMove(x, y, Page())) return;
    context_.shell.Repaint(PageArea());
    context_.shell.PaintNow();
}

void MainWindowController::Press(std::int64_t x, std::int64_t y) {
    const WindowPage page = Page();
    const MainWindowModel::PressResult press = model_.Press(x, y, page);
    if (press.repaint) context_.shell.Repaint(RepaintArea::Whole);
    // Any press on the main page closes the popup that is open.
    if (page == WindowPage::Main && popupOpen_) {
        popupOpen_ = false;
        context_.popups->DestroyFunctionPopup();
    }
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

// [later] The exchange files and the language switch are carried out here.
void MainWindowController::Carry(const UiAction& action) {
    switch (action.command) {
        case UiCommand::ShowPage: ShowPage(action.page); break;
        case UiCommand::MoveWindow: context_.shell.StartWindowMove(action.x, action.y); break;
        case UiCommand::CloseToTray: CloseToTray(); break;
        case UiCommand::HideToTray: HideToTray(); break;
        case UiCommand::Apply:
            Change([this] {
                if (context_.apply) context_.apply();
            });
            break;
        case UiCommand::LoadSlot:
            // The slot is shown, not applied: the mouse keeps its configuration until Apply.
            Change([this, slot = action.slot] {
                SelectSlot(context_.profile, context_.program, slot);
                context_.shell.Repaint(RepaintArea::Whole);
            });
            break;
        case UiCommand::FactoryReset:
            if (context_.messages &&
                context_.messages->Ask(FactoryResetQuestion(context_.program.language.load()), false) != Answer::Yes) {
                break;
            }
            Change([this] {
                if (context_.factoryReset) context_.factoryReset();
                context_.shell.Repaint(RepaintArea::Whole);
            });
            break;
        case UiCommand::OpenFunctionPopup: OpenFunctionPopup(action.button); break;
        case UiCommand::SetWheel: Edit([action](ActiveConfig& c) { c.WHEEL_STATUS = action.wheel; }); break;
        case UiCommand::ToggleStage: Edit([action](ActiveConfig& c) { c.ToggleStageEnabled(action.stage); }); break;
        case UiCommand::SelectStage: Edit([action](ActiveConfig& c) { c.SelectStage(action.stage); }); break;
        case UiCommand::SetStageStep:
            // Repainted here too: a dragged knob moves without a press.
            Edit([action](ActiveConfig& c) { c.SetStageValue(action.stage, static_cast<std::uint8_t>(action.step)); }, true);
            break;
        case UiCommand::ToggleMacroMode2: Edit([](ActiveConfig& c) { c.ToggleMacroMode2(); }); break;
        case UiCommand::SetPointerSpeed:
            Edit([action](ActiveConfig& c) { c.DPI_SPEED = static_cast<std::uint8_t>(action.speed); });
            break;
        case UiCommand::SetWheelSpeed:
            Edit([action](ActiveConfig& c) { c.WHEEL_SPEED = static_cast<std::uint8_t>(action.speed); });
            break;
        case UiCommand::SetFireTime: Edit([action](ActiveConfig& c) { c.SetFireTime(action.fireTime); }, true); break;
        case UiCommand::FireTimeUp: Edit([](ActiveConfig& c) { c.SetFireTime(std::int64_t{c.FIRE_TIME} + 1); }, true); break;
        case UiCommand::FireTimeDown:
            Edit([](ActiveConfig& c) { c.SetFireTime(std::int64_t{c.FIRE_TIME} - 1); }, true);
            break;
        case UiCommand::SetLedMode:
            Edit([action](ActiveConfig& c) { c.LED_STATUS = static_cast<std::uint8_t>(action.ledMode); }, true);
            StartPreview();  // the chosen mode shows at once, from its first picture
            break;
        case UiCommand::SwitchToChinese: SwitchLanguage(LanguageMode::Chinese); break;
        case UiCommand::SwitchToEnglish: SwitchLanguage(LanguageMode::English); break;
        case UiCommand::ImportConfig: ImportConfigByDialog(); break;
        case UiCommand::ExportConfig: ExportConfigByDialog(); break;
        case UiCommand::ImportMacros:
        case UiCommand::ExportMacros:
        case UiCommand::AddMacro:
        case UiCommand::DeleteMacro:
        case UiCommand::ToggleRecording:
        case UiCommand::ApplyRepeatCount:
        case UiCommand::ToggleRepeatMode: CarryMacroCommand(action.command); break;
        default: break;
    }
}

void MainWindowController::CarryMacroCommand(UiCommand command) {
    MacroEditorPanel* panel = context_.macroPanel;
    if (!panel) return;
    switch (command) {
        case UiCommand::ImportMacros: panel->ImportMacros(); break;
        case UiCommand::ExportMacros: panel->ExportMacros(); break;
        case UiCommand::AddMacro: panel->AddMacro(); break;
        case UiCommand::DeleteMacro: panel->DeleteMacro(); break;
        case UiCommand::ToggleRecording: panel->ToggleRecording(); break;
        case UiCommand::ApplyRepeatCount: panel->ApplyRepeatCount(); break;
        case UiCommand::ToggleRepeatMode: panel->ToggleRepeatMode(); break;
        default: break;
    }
}

void MainWindowController::HideToTray() {
    if (context_.macroPanel) context_.macroPanel->StopRecording();
    context_.shell.HideToTray();
}

void MainWindowController::Change(const std::function<void()>& change) {
    const IndicatorState before = ShownStateOf(context_.program);
    change();
    context_.program.Publish();
    // Most changes (an edit in the window) leave it as it was: no word to the tray then.
    if (const IndicatorState after = ShownStateOf(context_.program); !(after == before)) {
        context_.shell.ShowStateChange(before, after);
    }
    TellSaveFailure();
}

void MainWindowController::TellSaveFailure() {
    if (!context_.program.configSaveFailed.exchange(false) || !context_.messages) return;
    context_.messages->ShowMessage(ConfigSaveFailedMessage(context_.program.language.load()));
}

namespace {
FileDialogRequest ExchangeFileRequest(const ProgramState& program, bool save) {
    return {u"All Files(*.ini)", u"*.ini", save ? u"ini" : u"", program.paths.ProgramDir};
}
}  // namespace

void MainWindowController::ImportConfigByDialog() {
    if (!context_.files) return;
    const std::optional<std::u16string> file = context_.files->PickFileToOpen(ExchangeFileRequest(context_.program, false));
    if (!file) return;
    // A typed name of a file that is not there must not clear the window's configuration.
    if (context_.messages && !context_.messages->FileExists(*file)) {
        context_.messages->ShowMessage(kMissingFileMessage);
        return;
    }
    bool imported = false;
    Change([&] {
        imported = ImportConfig(context_.profile, context_.program, *file);
        context_.shell.Repaint(RepaintArea::Whole);
    });
    if (!imported && context_.messages) {
        context_.messages->ShowMessage(ImportRefusedMessage(context_.program.language.load(), *file));
    }
}

void MainWindowController::ExportConfigByDialog() {
    if (!context_.files) return;
    const std::optional<std::u16string> file = context_.files->PickFileToSave(ExchangeFileRequest(context_.program, true));
    if (!file) return;
    // The configuration only goes out: nothing of it changes.
    if (!ExportConfig(context_.profile, context_.program, *file) && context_.messages) {
        context_.messages->ShowMessage(ExportFailedMessage(context_.program.language.load()));
    }
}

void MainWindowController::SwitchToSlot(int slot, std::function<void(bool)> done) {
    if (slot < 1 || slot > 5) {
        done(false);
        return;
    }
    Change([this, slot] {
        SelectSlot(context_.profile, context_.program, slot);
        if (context_.apply) context_.apply();
        context_.shell.Repaint(RepaintArea::Whole);
    });
    done(true);
}

void MainWindowController::ExportConfigTo(const std::u16string& file, std::function<void(bool)> done) {
    done(ExportConfig(context_.profile, context_.program, file));
}

void MainWindowController::ImportConfigFrom(const std::u16string& file, std::function<void(bool)> done) {
    if (context_.messages && !context_.messages->FileExists(file)) {
        done(false);
        return;
    }
    bool imported = false;
    Change([&] {
        imported = ImportConfig(context_.profile, context_.program, file);
        if (imported && context_.apply) context_.apply();  // the apply saves the current slot too
        context_.shell.Repaint(RepaintArea::Whole);
    });
    done(imported);
}

void MainWindowController::Edit(const std::function<void(ActiveConfig&)>& edit, bool repaint) {
    Change([this, edit, repaint] {
        edit(context_.program.config);
        if (repaint) context_.shell.Repaint(RepaintArea::Whole);
    });
}

void MainWindowController::OpenFunctionPopup(int button) {
    FunctionPopupPort* popups = context_.popups;
    if (!popups) return;
    editedButton_ = button;
    const bool guarded = !context_.program.config.OtherButtonHasLeftClick(button);
    constexpr int kCancelled = 2;
    if (guarded && popups->ShowLeftClickWarning(button) == kCancelled) return;
    popups->OpenFunctionPopup(button);
    popupOpen_ = true;
}

void MainWindowController::ChooseFunction(std::int32_t code) {
    popupOpen_ = false;  // a choice closes the popup
    const int button = editedButton_;
    Edit([button, code](ActiveConfig& c) { c.SetButtonFunction(button, code); }, true);
}

void MainWindowController::ShowPage(WindowPage page) {
    MacroEditorPanel* panel = context_.macroPanel;
    if (panel && page != WindowPage::Advanced && panel->Shown()) panel->Hide();
    page_ = page;
    switch (page) {
        case WindowPage::Main:
            StartBlink();
            context_.shell.Repaint(RepaintArea::Whole);
            break;
        case WindowPage::Colour:
            if (!preview_.Running()) StartPreview();
            context_.shell.Repaint(RepaintArea::Whole);
            break;
        case WindowPage::Advanced:
            context_.shell.Repaint(PageArea());
            if (panel && !panel->Shown()) panel->Show();
            context_.shell.PaintNow();
            break;
    }
}

void MainWindowController::StartPreview() {
    // The mode and the stage the page shows, applied or not: the preview is there to see a mode
    // before it is applied. A host button's DPI step repaints the window.
    const ActiveConfig& config = context_.program.config;
    context_.shell.ScheduleAnimation(Animation::LedPreview,
                                     preview_.Start(Page() == WindowPage::Colour, config.LED_STATUS, config.DPI_LEVEL));
}

void MainWindowController::StartBlink() {
    if (blink_.Running()) return;
    context_.shell.ScheduleAnimation(Animation::Blink, blink_.Start(Page() == WindowPage::Main, WaitingForMouse()));
    context_.shell.Repaint(RepaintArea::Whole);
}

void MainWindowController::AnimationStep(Animation which) {
    const AnimationDelay next =
        which == Animation::Blink
            ? blink_.Step(Page() == WindowPage::Main, WaitingForMouse())
            : preview_.Step(Page() == WindowPage::Colour, context_.program.config.LED_STATUS, context_.program.config.DPI_LEVEL);
    context_.shell.ScheduleAnimation(which, next);
    context_.shell.Repaint(RepaintArea::Whole);
}

void MainWindowController::CloseToTray() {
    Change([this] {
        ProgramState& program = context_.program;
        ConfigFile file(context_.profile, program.config);
        if (!file.SaveDpiLevel(program.paths.ConfigIniPath, kAppliedSlot)) {
            program.configSaveFailed.store(true);
            return;
        }
        file.LoadConfig(program.paths.ConfigIniPath, kAppliedSlot, false, program.language.load());
        // A slot shown but not applied is an edit too: the applied one is shown again, which is a
        // program profile's when one runs.
        if (!program.profile) program.CurConfig = file.ReadCurConfig(program.paths.ConfigIniPath).value;
    });
    HideToTray();
    context_.shell.Repaint(RepaintArea::Whole);
}

PaintState MainWindowController::PaintStateNow(std::int32_t maskWidth, std::int32_t maskHeight) const {
    const ProgramState& program = context_.program;
    PaintState state;
    state.page = Page();
    state.language = program.language.load();
    state.maskWidth = maskWidth;
    state.maskHeight = maskHeight;
    state.mainHot = model_.MainHot();
    state.advancedHot = model_.AdvancedHot();
    state.colourHot = model_.ColourHot();
    state.pressed = model_.Pressed();
    state.curConfig = program.CurConfig;
    if (program.profile) state.profileProgram = program.profile->program;
    state.config = program.config;
    state.driverActive = context_.handoff.HostActionsOn();
    state.startKeyIndex = program.applied.startKeyIndex;
    state.blinkPhase = blink_.Shown();
    state.previewOff = preview_.Off();
    state.previewColour = preview_.Colour();
    if (const MacroEditorPanel* panel = context_.macroPanel) {
        state.recording = panel->Recording();
        state.pressLines = panel->Counters().pressLines;
        state.releaseLines = panel->Counters().releaseLines;
    }
    context_.macros.Read([&](const MacroStoreData& macros) {
        for (std::size_t i = 0; i < kMaxMacros; ++i) state.macroNames[i] = macros.records[i].Name();
        if (macros.selected >= 0 && macros.selected < kMaxMacros) {
            state.selectedRepeatMode = macros.records[static_cast<std::size_t>(macros.selected)].repeatMode;
        }
    });
    return state;
}

void MainWindowController::SwitchLanguage(LanguageMode language) {
    // The other language has macros of its own: these are saved or dropped first, as the user
    // answers (a recording stops: it would go on in a window no longer its own).
    if (context_.macroPanel && !context_.macroPanel->SaveOrDropUnsaved(true)) return;
    // Checked first, so a missing file never leaves new pictures on an old layout.
    if (!context_.shell.LoadSkinOf(language)) return;
    ProgramState& program = context_.program;
    program.language = language;
    const bool saved = context_.profile.SaveWhole(program.paths.ConfigIniPath, [&](const std::u16string& target) {
        return context_.profile.WriteString(target, u"Init", u"VER_SEL", language == LanguageMode::English ? u"1" : u"0");
    });
    if (!saved) {
        program.configSaveFailed.store(true);
    }
    if (context_.messages) {
        LoadLanguageMacros(context_.profile, *context_.messages, context_.macros, program.paths, language);
    } else {
        SelectMacroFile(context_.macros, program.paths, language);
    }
    if (context_.macroPanel) context_.macroPanel->Reload();
    context_.shell.ShowLanguage();
    context_.shell.Repaint(RepaintArea::Whole);
    TellSaveFailure();  // in the new language
}
