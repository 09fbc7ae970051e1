// The one catalogue of button function codes, shared by the download to the mouse, the host
// actions, the button labels and the function popups: who performs each code (the mouse, with
// which of its function numbers, or the host, with which action), its DPI step, its label and
// where the popups offer it.
#pragma once

#include <cstdint>
#include <optional>

// Who carries out a code. Outside: nobody; the code is not in the catalogue.
enum class Performer : std::uint8_t { Outside, Mouse, Host };

// What the host does for a code.
enum class HostAction : std::uint8_t {
    None,  // every code the mouse performs, and host codes without an action (27 to 30)
    StepDpi,
    ToggleLed,
    Mute,
    Copy,
    Paste,
    SelectAll,
    Undo,
    CloseWindow,  // Alt+F4
    OpenComputer,
    Lock,
    Calculator,
    CommandPrompt,
    NextConfiguration,
    PlayMacro,
};

// The function popups: the first-level one, and the second-level ones, each named after the
// first-level row that opens it.
enum class PopupGroup : std::uint8_t { None, TopLevel, OfRow7, OfRow8, OfRow9, OfRow10 };

// What a button's function box shows: nothing, the skin's name of the code, or the macro's name.
enum class FunctionLabel : std::uint8_t { None, Name, MacroName };

struct FunctionEntry {
    Performer performer = Performer::Outside;
    std::uint8_t mouseFunction = 0;  // the mouse's own function number, for Performer::Mouse
    std::int8_t dpiDirection = 0;    // 2 cycle, 1 up, -1 down, 0 none
    HostAction action = HostAction::None;
    std::int8_t macro = -1;  // macro slot 0..11 that PlayMacro plays; -1 for every other code
    FunctionLabel label = FunctionLabel::None;
    PopupGroup group = PopupGroup::None;  // the popup that offers the code, if any
    std::uint8_t row = 0;                 // its row there, from 1
    PopupGroup opens = PopupGroup::None;  // the group title rows (codes 7 to 10): what they open
};

// The entry of any code; Performer::Outside with no label and no popup for codes beyond the table
// (negative, above 52). Codes 7 to 10 and 20 are outside too, but 7 to 10 title the popup groups
// and all five keep their names.
const FunctionEntry& FunctionOf(std::int64_t code);

// The code offered at a row (from 1) of a popup; nothing where the popup has no such row.
std::optional<std::int32_t> CodeAtPopupRow(PopupGroup group, int row);

// Rows of a popup; the macro group has one per slot and shows only those below the macro count.
int PopupRowCount(PopupGroup group);

inline int DpiDirectionOf(std::int64_t code) { return FunctionOf(code).dpiDirection; }
