#include "ui/event_menu_command.h"

#include <array>

#include "resource.h"

namespace {

struct MenuEntry {
    int english;
    int chinese;
    EventMenuCommand command;
};

using Kind = EventMenuCommand::Kind;
constexpr EventMenuCommand Insert(InsertPlace place, MouseButtonKey button, MacroAction action) {
    return {Kind::Insert, place, button, action};
}
constexpr InsertPlace kBefore = InsertPlace::Before;
constexpr InsertPlace kAfter = InsertPlace::After;
constexpr MouseButtonKey kLeft = MouseButtonKey::Left;
constexpr MouseButtonKey kRight = MouseButtonKey::Right;
constexpr MouseButtonKey kMiddle = MouseButtonKey::Middle;

// Both languages' ids run the same command.
constexpr std::array<MenuEntry, 14> kEntries{{
    {ID_MACRO_FWD_LEFT_DOWN, ID_MACRO_FWD_LEFT_DOWN_CN, Insert(kBefore, kLeft, kActionPress)},
    {ID_MACRO_FWD_LEFT_UP, ID_MACRO_FWD_LEFT_UP_CN, Insert(kBefore, kLeft, kActionRelease)},
    {ID_MACRO_FWD_RIGHT_DOWN, ID_MACRO_FWD_RIGHT_DOWN_CN, Insert(kBefore, kRight, kActionPress)},
    {ID_MACRO_FWD_RIGHT_UP, ID_MACRO_FWD_RIGHT_UP_CN, Insert(kBefore, kRight, kActionRelease)},
    {ID_MACRO_FWD_MID_DOWN, ID_MACRO_FWD_MID_DOWN_CN, Insert(kBefore, kMiddle, kActionPress)},
    {ID_MACRO_FWD_MID_UP, ID_MACRO_FWD_MID_UP_CN, Insert(kBefore, kMiddle, kActionRelease)},
    {ID_MACRO_BACK_LEFT_DOWN, ID_MACRO_BACK_LEFT_DOWN_CN, Insert(kAfter, kLeft, kActionPress)},
    {ID_MACRO_BACK_LEFT_UP, ID_MACRO_BACK_LEFT_UP_CN, Insert(kAfter, kLeft, kActionRelease)},
    {ID_MACRO_BACK_RIGHT_DOWN, ID_MACRO_BACK_RIGHT_DOWN_CN, Insert(kAfter, kRight, kActionPress)},
    {ID_MACRO_BACK_RIGHT_UP, ID_MACRO_BACK_RIGHT_UP_CN, Insert(kAfter, kRight, kActionRelease)},
    {ID_MACRO_BACK_MID_DOWN, ID_MACRO_BACK_MID_DOWN_CN, Insert(kAfter, kMiddle, kActionPress)},
    {ID_MACRO_BACK_MID_UP, ID_MACRO_BACK_MID_UP_CN, Insert(kAfter, kMiddle, kActionRelease)},
    {ID_MACRO_MODIFY_DELAY, ID_MACRO_MODIFY_DELAY_CN, {Kind::ModifyDelay}},
    {ID_MACRO_DELETE, ID_MACRO_DELETE_CN, {Kind::Delete}},
}};

}  // namespace

std::optional<EventMenuCommand> EventMenuCommandOf(int id) {
    for (const MenuEntry& entry : kEntries) {
        if (entry.english == id || entry.chinese == id) return entry.command;
    }
    return std::nullopt;
}

std::vector<int> EventMenuIds() {
    std::vector<int> ids;
    for (const MenuEntry& entry : kEntries) ids.insert(ids.end(), {entry.english, entry.chinese});
    return ids;
}
