#include <gtest/gtest.h>

#include "macros/macro_editor_state.h"

TEST(MacroEditorStateTest, StartsOnTheLastKeyLineOfTheSelectedMacro) {
    MacroStoreData macros;
    macros.count = 2;
    macros.records[1].eventCount = 3;
    macros.selected = 1;
    EXPECT_EQ(LastEventLine(macros), 4);  // lines: key, delay, key, delay, key
    macros.selected = 0;                   // no events
    EXPECT_EQ(LastEventLine(macros), 0);
    macros.selected = -1;
    EXPECT_EQ(LastEventLine(macros), 0);
    macros.selected = 40;  // out of the table
    EXPECT_EQ(LastEventLine(macros), 0);
    macros.selected = 1;
    macros.records[1].eventCount = 255;  // beyond the slots: bounded
    EXPECT_EQ(LastEventLine(macros), 2 * macros.records[1].BoundedEventCount() - 2);
}
