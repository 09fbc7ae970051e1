// The main window's behaviour, without Windows: it follows the pointer over the pages, carries
// out what a press or a release asks for against the program's state and the configuration
// file, and asks the window (MainWindowShell) for the effects only the window can have.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "config/program_state.h"
#include "core/press_handoff.h"
#include "macros/macro_store.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"
#include "platform/profile_port.h"
#include "skin/paint_state.h"
#include "skin/skin_description.h"
#include "ui/animators.h"
#include "ui/indicator_model.h"
#include "ui/macro_editor_panel.h"
#include "ui/main_window_model.h"

// What a repaint covers. On the advanced page the macro editor's controls paint themselves, so
// the page repaints around them while they are shown.
enum class RepaintArea { Whole, OutsideMacroEditor };

enum class Animation { Blink, LedPreview };

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
    // MainWindowController::AnimationStep(which) after delay, in place of one pending; with no
    // delay, never again.
    virtual void ScheduleAnimation(Animation which, AnimationDelay delay) = 0;
    // The skin descriptions of language, loaded aside and put in place only when every one of
    // them loaded; false, after the loaders told the user what is missing, when one did not.
    virtual bool LoadSkinOf(LanguageMode language) = 0;
    // The menus and the title of the program's language, which has just changed.
    virtual void ShowLanguage() = 0;
    // A change of the window's (a mouse button's, a program profile's, a command's) left the
    // mouse in after, which was before and differs: the tray's tip and the indicator tell it.
    virtual void ShowStateChange(const IndicatorState& before, const IndicatorState& after) = 0;
};

// The function popup of a button and the warning that guards the left click.
class FunctionPopupPort {
public:
    virtual ~FunctionPopupPort() = default;
    // The warning before the only left click may be taken away: 1 confirm, 2 cancel.
    virtual int ShowLeftClickWarning(int button) = 0;
    // The function popup below button's picture; its choice comes back through ChooseFunction.
    virtual void OpenFunctionPopup(int button) = 0;
    virtual void DestroyFunctionPopup() = 0;
};

struct MainWindowContext {
    ProgramState& program;  // the window's thread owns it
    PressHandoff& handoff;  // whether host actions wait for the mouse
    MacroStore& macros;
    ProfilePort& profile;  // config.ini
    MainWindowShell& shell;
    std::function<void()> apply;         // ApplyConfiguration
    std::function<void()> factoryReset;  // the program's factory reset, apply included
    FunctionPopupPort* popups = nullptr;  // none: the function boxes do nothing
    FileDialogPort* files = nullptr;      // none: import and export do nothing
    MessagePort* messages = nullptr;      // none: failures are not told
    MacroEditorPanel* macroPanel = nullptr;  // none: the advanced page's macro buttons do nothing
};

class MainWindowController {
public:
    MainWindowController(const SkinSet& skin, MainWindowContext context) : context_(context), model_(skin) {}

    void MouseMove(std::int64_t x, std::int64_t y);
    void Press(std::int64_t x, std::int64_t y);
    void Release(std::int64_t x, std::int64_t y);

    void ShowPage(WindowPage page);
    WindowPage Page() const { return page_; }
    // The language of the window, its files and config.ini's VER_SEL, switched at run time. The
    // configuration and the slot stay; unsaved macro edits go with the old language's macros.
    void SwitchLanguage(LanguageMode language);
    // The close control: the stage chosen on the mouse survives, every edit not applied is
    // dropped, and the window hides in the tray. When the stage cannot be saved the file no
    // longer holds what was applied, so the configuration stays as it is and the user is told.
    void CloseToTray();
    // (Re)starts the LED preview on the colour page with the mode and stage the page shows.
    void StartPreview();
    // The start key blinks while host actions wait for the mouse (after start-up and an apply);
    // a blink under way goes on as it is.
    void StartBlink();
    // The next step of an animation, when its delay has passed.
    void AnimationStep(Animation which);
    // The function popup's choice for the button it was opened for.
    void ChooseFunction(std::int32_t code);
    // A change of the configuration from outside the window's controls (a mouse button's
    // request): it runs, the mouse's threads see its outcome, and a failed save is told.
    void Change(const std::function<void()>& change);
    // A save of config.ini that failed since the last call is told once.
    void TellSaveFailure();

    // What a script asks of the running program. Each runs like the control it stands for,
    // then calls done with whether it succeeded.
    // slot (1 to 5) is loaded and applied, as a host button's slot switch does.
    void SwitchToSlot(int slot, std::function<void(bool)> done);
    // The configuration of the window is written to file's "Config7".
    void ExportConfigTo(const std::u16string& file, std::function<void(bool)> done);
    // file's "Config7" becomes the current slot's configuration, applied and saved.
    void ImportConfigFrom(const std::u16string& file, std::function<void(bool)> done);

    // What the paint shows now.
    PaintState PaintStateNow(std::int32_t maskWidth, std::int32_t maskHeight) const;

    const MainWindowModel& Model() const { return model_; }
    const LedPreview& Preview() const { return preview_; }

private:
    // The page as it is shown: on the advanced page around the macro editor's controls.
    RepaintArea PageArea();
    void Carry(const UiAction& action);
    void OpenFunctionPopup(int button);
    // The advanced page's macro commands.
    void CarryMacroCommand(UiCommand command);
    // The import and export controls: a file dialog, then the exchange file.
    void ImportConfigByDialog();
    void ExportConfigByDialog();
    // Hiding the window ends a recording: its keys would go nowhere the user can see.
    void HideToTray();
    void Edit(const std::function<void(ActiveConfig&)>& edit, bool repaint = false);
    bool WaitingForMouse() const { return !context_.handoff.HostActionsOn(); }

    MainWindowContext context_;
    MainWindowModel model_;
    WindowPage page_ = WindowPage::Main;
    BlinkIndicator blink_;
    LedPreview preview_;
    bool popupOpen_ = false;
    int editedButton_ = 0;
};
