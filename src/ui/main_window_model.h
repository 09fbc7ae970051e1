// What the mouse does on the main window's pages: which entries are under the pointer, whether
// the left button is held over one, and what a press or a release there asks for. The window
// feeds it pointer positions and carries out the commands it returns.
#pragma once

#include <cstdint>
#include <optional>

#include "skin/window_page.h"
#include "skin/paint_state.h"
#include "skin/skin_description.h"

enum class UiCommand : std::uint8_t {
    None,
    DefaultHandling,  // the frame's slot label: the message goes on to the default window handling
    MoveWindow,       // a press outside every entry drags the window from (x, y)
    ShowPage,         // page
    // Frame, on release.
    CloseToTray,  // keep the mouse's DPI stage, drop unapplied edits, hide to the tray
    Apply,
    LoadSlot,  // slot
    Minimise,
    HideToTray,
    ImportConfig,
    ExportConfig,
    FactoryReset,
    SwitchToChinese,
    SwitchToEnglish,
    // Main page, on press.
    OpenFunctionPopup,  // button
    SetWheel,           // wheel
    ToggleStage,        // stage
    SelectStage,        // stage
    SetStageStep,       // stage, step
    // Advanced page, on press.
    ImportMacros,
    ExportMacros,
    AddMacro,
    DeleteMacro,
    ToggleRecording,
    ApplyRepeatCount,
    ToggleRepeatMode,
    ToggleMacroMode2,
    SetPointerSpeed,  // speed
    SetWheelSpeed,    // speed
    SetFireTime,      // fireTime
    FireTimeUp,
    FireTimeDown,
    // Colour page, on press.
    SetLedMode,  // ledMode
};

// A command and what it acts on; the fields its command does not use stay at their defaults.
struct UiAction {
    UiCommand command = UiCommand::None;
    WindowPage page = WindowPage::Main;
    int slot = 0;      // configuration slot 1..5
    int button = 0;    // mouse button 1..7
    int wheel = 0;     // WHEEL_STATUS: 0 normal, 1 reverse
    int stage = 0;     // DPI stage 0..3
    int step = 0;      // DPI step 0..4 of the stage
    int speed = 0;     // DPI_SPEED or WHEEL_SPEED 0..9
    int fireTime = 0;  // FIRE_TIME 0..300
    int ledMode = 0;   // LED_STATUS 0..3
    std::int64_t x = 0;  // the pointer where the window's move starts
    std::int64_t y = 0;
    bool operator==(const UiAction&) const = default;
};

class MainWindowModel {
public:
    explicit MainWindowModel(const SkinSet& skin) : skin_(skin) {}

    // Hit-tests the three layouts at the pointer. True when a hot entry that the page shows (the
    // frame's, and the page's own) has changed, so the window repaints only then.
    bool MouseMove(std::int64_t x, std::int64_t y, WindowPage page);

    struct PressResult {
        bool repaint = false;  // the button went down over an entry: it now shows pressed
        UiAction action;
    };
    // A left press at (x, y) on page, acting on the hot entries of the last movement.
    PressResult Press(std::int64_t x, std::int64_t y, WindowPage page);
    // The left button's release: the frame's release commands, on any page.
    UiAction Release();
    // While a press that began on a stage's steps stays down, the pointer at x drags that stage's
    // knob: the step whose tick is nearest, when it is another than the one it gave last.
    std::optional<UiAction> DragStep(std::int64_t x);

    int MainHot() const { return mainHot_; }
    int AdvancedHot() const { return advancedHot_; }
    int ColourHot() const { return colourHot_; }
    bool Pressed() const { return pressed_; }
    // Forgets the frame's hot entry, as a window that hides or minimises has no pointer over it.
    void ClearMainHot() { mainHot_ = kNoEntry; }

private:
    UiAction PressOnMain(std::int64_t x, std::int64_t y) const;
    UiAction PressOnAdvanced(std::int64_t x, std::int64_t y) const;
    UiAction PressOnColour(std::int64_t x, std::int64_t y) const;

    const SkinSet& skin_;
    int mainHot_ = kNoEntry;
    int advancedHot_ = kNoEntry;
    int colourHot_ = kNoEntry;
    int previousMain_ = kNoEntry;
    int previousAdvanced_ = kNoEntry;
    int previousColour_ = kNoEntry;
    bool pressed_ = false;
    int draggedStage_ = -1;  // the stage whose knob the pressed button holds
    int draggedStep_ = -1;
};
