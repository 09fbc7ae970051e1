#include <gtest/gtest.h>

#include "macros/macro_editor.h"
#include "macros/macro_file.h"
#include "support/macro_builder.h"
#include "support/memory_profile.h"
#include "support/recording_messages.h"

namespace {

constexpr MacroEvent kADown{'A', kActionPress, 10};
constexpr MacroEvent kAUp{'A', kActionRelease, 20};

struct MacroEditorTest : ::testing::Test {
    MacroStore store;
    MacroEditorState state;
    MemoryProfile profile;
    RecordingMessages messages;
    MacroEditor editor{store, state, profile, messages};

    // One macro with the events given, selected, and the context menu opened on line.
    void OpenMenuOn(std::initializer_list<MacroEvent> events, std::int32_t line) {
        store.Edit([&](MacroStoreData& d) {
            d.records[0] = Macro(events);
            d.count = 1;
            d.selected = 0;
        });
        const int lines = events.size() == 0 ? 0 : 2 * static_cast<int>(events.size()) - 1;
        editor.OpenEventMenu(line, lines, 0, true, false);
    }
    std::vector<MacroEvent> Events(int macro = 0) const {
        const MacroRecord r = *store.Snapshot(macro);
        return {r.events.begin(), r.events.begin() + r.eventCount};
    }
};

TEST_F(MacroEditorTest, AddingRenamingAndDeletingMacros) {
    EXPECT_TRUE(editor.AddMacro(u"", false).Inert());
    EXPECT_TRUE(editor.AddMacro(u"one", true).Inert());
    editor.AddMacro(u"one", false);
    editor.AddMacro(u"two", false);
    const EditorUpdate again = editor.AddMacro(u"one", false);  // selects, adds nothing
    EXPECT_FALSE(again.macroList);
    EXPECT_EQ(again.selectItem, 0);
    EXPECT_EQ(store.Count(), 2);

    // 18 units and a surrogate pair: the pair goes whole, and the same long name is found again.
    const std::u16string longName = std::u16string(18, u'x') + u"\U0001F600" + u"y";
    editor.AddMacro(longName, false);
    EXPECT_EQ(store.Snapshot(2)->Name(), std::u16string(18, u'x'));
    EXPECT_FALSE(editor.AddMacro(longName, false).macroList);
    EXPECT_TRUE(editor.RenameMacro(u"two", false).Inert());  // another macro's name
    EXPECT_EQ(editor.RenameMacro(u"three", false).nameBox, u"three");

    for (int i = store.Count(); i < kMaxMacros; ++i) editor.AddMacro(DecimalText(i), false);
    EXPECT_TRUE(editor.AddMacro(u"thirteenth", false).Inert());

    store.Edit([](MacroStoreData& d) {
        d.records[kMaxMacros - 1] = Macro({kADown, kAUp}, 1, 9);
        d.records[kMaxMacros - 1].SetName(u"11");
        d.selected = 0;
    });
    const EditorUpdate first = editor.DeleteMacro(false);
    EXPECT_EQ(first.selectItem, 0);
    EXPECT_EQ(first.nameBox, u"two");
    EXPECT_EQ(store.Snapshot(kMaxMacros - 2)->Name(), u"11");
    const MacroRecord freed = store.Copy().records[kMaxMacros - 1];
    EXPECT_EQ(freed.repeatCount, 1);
    EXPECT_EQ(freed.eventCount, 0);

    while (store.Count() > 1) editor.DeleteMacro(false);
    const EditorUpdate last = editor.DeleteMacro(false);
    EXPECT_EQ(last.nameBox, u"");
    EXPECT_EQ(last.repeatBox, (RepeatBoxView{u"1", false}));
    EXPECT_TRUE(editor.DeleteMacro(false).Inert());
}

TEST_F(MacroEditorTest, InsertingAndDeletingEventsFollowTheClickedLine) {
    OpenMenuOn({kADown, kAUp}, 1);  // the delay after A down belongs to event 0
    EditorUpdate u = editor.InsertMouseEvent(InsertPlace::Before, MouseButtonKey::Left, kActionPress, false);
    EXPECT_EQ(Events(), (std::vector<MacroEvent>{{kLeftButtonKey, kActionPress, 30}, kADown, kAUp}));
    EXPECT_EQ(u.selectLine, 3);

    OpenMenuOn({kADown, kAUp}, 2);
    editor.InsertMouseEvent(InsertPlace::After, MouseButtonKey::Middle, kActionRelease, false);
    EXPECT_EQ(Events(), (std::vector<MacroEvent>{kADown, kAUp, {kMiddleButtonKey, kActionRelease, 30}}));

    OpenMenuOn({}, 5);  // an empty list: inserting after starts it, on line 0
    u = editor.InsertMouseEvent(InsertPlace::After, MouseButtonKey::Right, kActionPress, false);
    EXPECT_EQ(Events(), (std::vector<MacroEvent>{{kRightButtonKey, kActionPress, 30}}));
    EXPECT_EQ(u.selectLine, 0);

    OpenMenuOn({kADown, kAUp}, 0);
    EXPECT_TRUE(editor.DeleteEvent(true).Inert());
    u = editor.DeleteEvent(false);
    EXPECT_EQ(Events(), std::vector<MacroEvent>{kAUp});
    EXPECT_EQ(u.selectLine, 0);
    OpenMenuOn({kADown, kAUp}, 2);  // a snapshot beyond the events after this one deletes nothing
    editor.DeleteEvent(false);
    EXPECT_TRUE(editor.DeleteEvent(false).Inert());
    EXPECT_EQ(Events(), std::vector<MacroEvent>{kADown});
    OpenMenuOn({}, 0);
    EXPECT_TRUE(editor.DeleteEvent(false).Inert());

    OpenMenuOn({kADown}, 0);
    store.Edit([](MacroStoreData& d) { d.records[0].eventCount = kMaxMacroEvents; });
    EXPECT_TRUE(editor.InsertMouseEvent(InsertPlace::Before, MouseButtonKey::Left, kActionPress, false).Inert());
    EXPECT_EQ(messages.shown, std::vector<std::u16string>{kOverflowMessage});
    EXPECT_EQ(store.Snapshot(0)->eventCount, kMaxMacroEvents);
    EXPECT_EQ(Events()[0], kADown);
}

TEST_F(MacroEditorTest, DelayEditsOnlyOnDelayLinesAndKeepTheLow16Bits) {
    OpenMenuOn({kADown, kAUp}, 0);
    EXPECT_FALSE(editor.ModifyDelay(false).editDelay);
    OpenMenuOn({kADown, kAUp}, 1);
    EXPECT_FALSE(editor.ModifyDelay(true).editDelay);
    EXPECT_TRUE(editor.ModifyDelay(false).editDelay);

    struct Case {
        std::u16string text;
        std::uint16_t delay;
    };
    for (const Case& c : {Case{u"    250ms", 250}, Case{u"250", 250}, Case{u"ms", 0}, Case{u"-1ms", 255},
                          Case{u"65541ms", 5}, Case{u"12ms3ms", 12}}) {
        const EditorUpdate u = editor.CommitDelayEdit(c.text, false);
        EXPECT_EQ(Events()[0].delay, c.delay) << Utf8FromUtf16(c.text);
        EXPECT_EQ(u.eventListOf, 0);
    }
    EXPECT_EQ(Events()[1], kAUp);
    EXPECT_TRUE(editor.CommitDelayEdit(u"99ms", true).Inert());
}

TEST_F(MacroEditorTest, RepeatCountIsBoundedAndSavedWithoutEverLoweringTheFilesCount) {
    store.Edit([](MacroStoreData& d) {
        d.records[0] = Macro({kADown}, 0, 7);
        d.records[1] = Macro({kAUp});
        d.count = 2;
        d.selected = 0;
        d.filePath = u"m.dat";
    });
    EXPECT_EQ(editor.ToggleRepeatMode(false).repeatBox, (RepeatBoxView{u"7", true}));
    EXPECT_EQ(editor.ToggleRepeatMode(false).repeatBox, (RepeatBoxView{u"1", false}));
    EXPECT_TRUE(editor.ToggleRepeatMode(true).Inert());
    editor.ToggleRepeatMode(false);

    EXPECT_EQ(editor.ApplyRepeatCount(u"0", false).repeatBox, (RepeatBoxView{u"1", true}));
    EXPECT_EQ(editor.ApplyRepeatCount(u"70000", false).repeatBox, (RepeatBoxView{u"65535", true}));
    EXPECT_EQ(store.Snapshot(0)->repeatCount, 65535);
    const EditorUpdate plain = editor.ApplyRepeatCount(u" 42", false);
    EXPECT_FALSE(plain.repeatBox);
    EXPECT_FALSE(plain.saveFailed);
    EXPECT_EQ(profile.Value(u"m.dat", kMacroSection, kMacroCountKey), "2");

    // A third macro whose key cannot be written: the failure is reported and the count stays 2.
    editor.AddMacro(u"new", false);
    profile.failingKeys.insert({kMacroSection, u"2"});
    EXPECT_TRUE(editor.ApplyRepeatCount(u"5", false).saveFailed);
    EXPECT_EQ(profile.Value(u"m.dat", kMacroSection, kMacroCountKey), "2");
    const int writes = profile.writes;
    EXPECT_TRUE(editor.ApplyRepeatCount(u"5", true).Inert());
    EXPECT_EQ(profile.writes, writes);
}

TEST_F(MacroEditorTest, ContextMenuTakesTheLineUnderTheCursor) {
    EXPECT_EQ(EventLineAt(16, 3, 140, 100), 5);  // 40 px into a list scrolled by 3 lines
    EXPECT_EQ(EventLineAt(0, 3, 140, 100), 0);

    OpenMenuOn({kADown, kAUp}, 0);
    EXPECT_FALSE(editor.OpenEventMenu(1, 3, 0, false, false));  // outside the list
    EXPECT_TRUE(editor.OpenEventMenu(2, 3, 15, true, false));
    EXPECT_EQ(editor.MenuSnapshot().macro, kMaxMacros - 1);
    EXPECT_EQ(editor.MenuSnapshot().event, 1);
    EXPECT_FALSE(editor.OpenEventMenu(7, 3, 0, true, false));  // below the last line
    EXPECT_EQ(state.selectedLine, 7);
    EXPECT_EQ(editor.MenuSnapshot().line, -1);
    EXPECT_TRUE(editor.OpenEventMenu(4, 0, 0, true, false));  // an empty list still offers inserting
    EXPECT_FALSE(editor.OpenEventMenu(0, 3, 0, true, true));
    EXPECT_EQ(state.selectedLine, 4);
}

}  // namespace
