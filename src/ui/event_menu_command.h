// The commands of the event list's context menu, by their menu ids in either language.
#pragma once

#include <optional>
#include <vector>

#include "macros/macro_editor.h"

struct EventMenuCommand {
    enum class Kind { Insert, ModifyDelay, Delete };
    Kind kind = Kind::Insert;
    InsertPlace place = InsertPlace::Before;  // the fields below only for Insert
    MouseButtonKey button = MouseButtonKey::Left;
    MacroAction action = kActionPress;
    bool operator==(const EventMenuCommand&) const = default;
};

// The command of menu id, or nothing when the id is not one of the context menu's.
std::optional<EventMenuCommand> EventMenuCommandOf(int id);
// Every id of the menu, both languages.
std::vector<int> EventMenuIds();
