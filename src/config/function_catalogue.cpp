#include "config/function_catalogue.h"

#include <array>

#include "core/macro_limits.h"

namespace {
using enum PopupGroup;
using A = HostAction;

constexpr FunctionEntry Mouse(std::uint8_t function, PopupGroup group, std::uint8_t row) {
    return {Performer::Mouse, function, 0, A::None, -1, FunctionLabel::Name, group, row, None};
}

constexpr FunctionEntry Host(HostAction action, PopupGroup group, std::uint8_t row, std::int8_t dpiDirection = 0) {
    return {Performer::Host, 0, dpiDirection, action, -1, FunctionLabel::Name, group, row, None};
}

constexpr FunctionEntry Macro(std::int8_t slot) {
    return {Performer::Host, 0, 0, A::PlayMacro, slot, FunctionLabel::MacroName, OfRow9,
            static_cast<std::uint8_t>(slot + 1), None};
}

// A first-level row that opens a group; nothing performs its code.
constexpr FunctionEntry GroupTitle(std::uint8_t row, PopupGroup opens) {
    return {Performer::Outside, 0, 0, A::None, -1, FunctionLabel::Name, TopLevel, row, opens};
}

// Nobody performs or offers the code, but the skin names it.
constexpr FunctionEntry Unused() { return {Performer::Outside, 0, 0, A::None, -1, FunctionLabel::Name}; }

constexpr std::array<FunctionEntry, 53> kCatalogue = {
    // 0: the mouse's function 0, never offered by the popups and shown as an empty box.
    FunctionEntry{Performer::Mouse, 0, 0, A::None, -1, FunctionLabel::None},
    // 1..6
    Mouse(1, TopLevel, 1), Mouse(2, TopLevel, 2), Mouse(3, TopLevel, 3), Mouse(4, TopLevel, 4),
    Mouse(5, TopLevel, 5), Host(A::StepDpi, TopLevel, 6, 2),
    // 7..10
    GroupTitle(7, OfRow7), GroupTitle(8, OfRow8), GroupTitle(9, OfRow9), GroupTitle(10, OfRow10),
    // 11..20
    Mouse(7, OfRow7, 1), Mouse(8, OfRow7, 2), Mouse(9, OfRow7, 3), Mouse(10, OfRow7, 4), Mouse(11, OfRow7, 5),
    Mouse(12, OfRow7, 6), Host(A::StepDpi, OfRow7, 7, 1), Host(A::StepDpi, OfRow7, 8, -1),
    Host(A::ToggleLed, OfRow7, 9), Unused(),
    // 21..30: the last four put the button into host mode without an action.
    Mouse(13, OfRow8, 1), Mouse(14, OfRow8, 2), Mouse(15, OfRow8, 3), Mouse(16, OfRow8, 4), Mouse(17, OfRow8, 5),
    Host(A::Mute, OfRow8, 6), Host(A::None, None, 0), Host(A::None, None, 0),
    Host(A::None, None, 0), Host(A::None, None, 0),
    // 31..40
    Host(A::Copy, OfRow10, 1), Host(A::Paste, OfRow10, 2), Host(A::SelectAll, OfRow10, 3), Host(A::Undo, OfRow10, 4),
    Host(A::CloseWindow, OfRow10, 5), Host(A::OpenComputer, OfRow10, 6), Host(A::Lock, OfRow10, 7),
    Host(A::Calculator, OfRow10, 8), Host(A::CommandPrompt, OfRow10, 9), Host(A::NextConfiguration, OfRow10, 10),
    // 41..52
    Macro(0), Macro(1), Macro(2), Macro(3), Macro(4), Macro(5), Macro(6), Macro(7), Macro(8), Macro(9), Macro(10),
    Macro(11),
};
static_assert(kCatalogue.size() == 41 + kMaxMacros, "one code per macro slot ends the catalogue");

constexpr FunctionEntry kOutside{};
}  // namespace

const FunctionEntry& FunctionOf(std::int64_t code) {
    if (code < 0 || code >= static_cast<std::int64_t>(kCatalogue.size())) return kOutside;
    return kCatalogue[static_cast<std::size_t>(code)];
}

std::optional<std::int32_t> CodeAtPopupRow(PopupGroup group, int row) {
    if (group == None) return std::nullopt;
    for (std::size_t code = 0; code < kCatalogue.size(); ++code) {
        if (kCatalogue[code].group == group && kCatalogue[code].row == row) return static_cast<std::int32_t>(code);
    }
    return std::nullopt;
}

int PopupRowCount(PopupGroup group) {
    if (group == None) return 0;
    int rows = 0;
    for (const FunctionEntry& entry : kCatalogue) rows += entry.group == group ? 1 : 0;
    return rows;
}
