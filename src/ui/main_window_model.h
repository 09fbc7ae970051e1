// What the mouse does on the main window's pages: which entries are under the pointer, whether
// the left button is held over one, and what a press or a release there asks for. The window
// feeds it pointer positions and carries out the commands it returns.
#pragma once

#include <cstdint>

#include "skin/paint_state.h"
#include "skin/skin_description.h"

enum class UiCommand : std::uint8_t {
    None,
    DefaultHandling,  // main entry 19: the message goes on to the default window handling
    MoveWindow,       // a press outside every entry drags the window
    ShowPage,         // value: the page (0 main, 1 advanced, 2 colour)
    // Frame, on release.
    CloseToTray,  // keep the mouse's DPI stage, drop unapplied edits, hide to the tray
    Apply,
    LoadSlot,  // value: slot 1..5
    Minimise,
    HideToTray,
    ImportConfig,
    ExportConfig,
    FactoryReset,
    SwitchToChinese,
    SwitchToEnglish,
    // Main page, on press.
    OpenFunctionPopup,  // value: main entry 25..31 of the button
    SetWheel,           // value: WHEEL_STATUS 0 or 1
    ToggleStage,        // value: DPI stage 0..3
    SelectStage,        // value: DPI stage 0..3
    SetStageStep,       // value: main entry 60..79 (stage (value - 60) / 5, step (value - 60) % 5)
    // Advanced page, on press.
    ImportMacros,
    ExportMacros,
    AddMacro,
    DeleteMacro,
    ToggleRecording,
    ApplyRepeatCount,
    ToggleRepeatMode,
    ToggleMacroMode2,
    SetPointerSpeed,  // value: DPI_SPEED 0..9
    SetWheelSpeed,    // value: WHEEL_SPEED 0..9
    SetFireTime,      // value: FIRE_TIME from the bar, 0..299
    FireTimeUp,
    FireTimeDown,
    // Colour page, on press.
    SetLedMode,  // value: LED_STATUS 0..3
};

struct UiAction {
    UiCommand command = UiCommand::None;
    int value = 0;
    bool operator==(const UiAction&) const = default;
};

// The entries hit-tested on each page.
constexpr int kLastMainItemOnMainPage = 90;
constexpr int kLastFrameItem = 19;
constexpr int kLastAdvancedItem = 33;
constexpr int kLastColourItem = 4;

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
    PressResult Press(std::int64_t x, WindowPage page);
    // The left button's release: the frame's release commands, on any page.
    UiAction Release();

    int MainHot() const { return mainHot_; }
    int AdvancedHot() const { return advancedHot_; }
    int ColourHot() const { return colourHot_; }
    bool Pressed() const { return pressed_; }
    // Forgets the frame's hot entry, as a window that hides or minimises has no pointer over it.
    void ClearMainHot() { mainHot_ = kNoEntry; }

private:
    UiAction PressOnMain() const;
    UiAction PressOnAdvanced(std::int64_t x) const;
    UiAction PressOnColour() const;

    const SkinSet& skin_;
    int mainHot_ = kNoEntry;
    int advancedHot_ = kNoEntry;
    int colourHot_ = kNoEntry;
    int previousMain_ = kNoEntry;
    int previousAdvanced_ = kNoEntry;
    int previousColour_ = kNoEntry;
    bool pressed_ = false;
};
