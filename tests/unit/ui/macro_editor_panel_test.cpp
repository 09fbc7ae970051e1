#include "ui/macro_editor_panel.h"

#include <gtest/gtest.h>

#include "core/user_texts.h"
#include "macros/macro_file.h"
#include "support/fake_macro_controls.h"
#include "support/macro_builder.h"
#include "support/memory_profile.h"
#include "support/fake_skin_files.h"

namespace {

struct MacroEditorPanelTest : ::testing::Test {
    ProgramState program;
    MacroStore macros;
    MacroEditorState state;
    MemoryProfile profile;
    FakeSkinFiles messages;  // no file exists unless named
    FakeMacroControls controls;
    FakeKeyCapture keys;
    FakeFileDialogs files;
    int repaints = 0;
    MacroEditorPanel panel{{program, macros, state, profile, messages, controls, keys, files, [this] { ++repaints; }}};

    MacroEditorPanelTest() {
        program.language = LanguageMode::English;
        program.paths.ProgramDir = u"C:\\prog";
        macros.Edit([](MacroStoreData& d) {
            d.records[0] = Macro({{'A', kActionPress, 40}, {'A', kActionRelease, 30}});
            d.records[0].SetName(u"first");
            d.records[1] = Macro({});
            d.records[1].SetName(u"second");
            d.count = 2;
            d.selected = 1;
            d.filePath = u"C:\\prog\\Macro_EN.dat";
        });
    }
    MacroRecord Record(int m) const { return *macros.Snapshot(m); }
};

TEST_F(MacroEditorPanelTest, ARecordingShowsEachKeyAtOnceAndEveryWayOutEndsIt) {
    panel.Show();
    ASSERT_TRUE(controls.created);
    EXPECT_EQ(controls.names, (std::vector<std::u16string>{u"first", u"second"}));
    EXPECT_EQ(controls.macroItem, 1);

    panel.ToggleRecording();
    EXPECT_TRUE(panel.Recording());
    EXPECT_TRUE(keys.installed);
    EXPECT_EQ(controls.repeatText, u"1");
    EXPECT_FALSE(controls.repeatEnabled);
    panel.RecordKey(kKeyDownMessage, 'B', 1000);
    panel.RecordKey(kKeyDownMessage, 'B', 1100);  // the keyboard repeating
    panel.RecordKey(kKeyUpMessage, 'B', 1250);
    panel.RecordKey(kKeyDownMessage, 'C', 1300);
    EXPECT_EQ(controls.lines, (std::vector<std::u16string>{u"[↓]B", u"    250ms", u"[↑]B", u"    50ms", u"[↓]C"}));
    EXPECT_EQ(controls.line, 4);
    EXPECT_EQ(panel.Counters().pressLines, 2);
    EXPECT_EQ(panel.Counters().releaseLines, 1);

    // Leaving the page stops the recording: the capture goes, C gets its release.
    panel.Hide();
    EXPECT_FALSE(panel.Recording());
    EXPECT_FALSE(keys.installed);
    EXPECT_FALSE(controls.created);
    const MacroRecord recorded = Record(1);
    ASSERT_EQ(recorded.eventCount, 4);
    EXPECT_EQ(recorded.Name(), u"second");
    EXPECT_EQ(recorded.events[3], (MacroEvent{'C', kActionRelease, 30}));

    // Started and stopped by its button, nothing recorded, the capture is gone again.
    panel.Show();
    panel.ToggleRecording();
    panel.ToggleRecording();
    EXPECT_FALSE(keys.installed);
    EXPECT_EQ(Record(1).eventCount, 0);
}

TEST_F(MacroEditorPanelTest, ContextMenuEditsTheClickedMacroAndTheDelayEditorStoresItsText) {
    panel.Show();
    controls.SelectMacroItem(0);
    panel.MacroListSelectionChanged();
    ASSERT_EQ(controls.lines.size(), 3u);

    controls.hit = {1, 3, true};  // the delay line after A down
    panel.OpenEventMenu();
    EXPECT_EQ(controls.asked.back(), "menu");
    panel.RunMenuCommand(*EventMenuCommandOf(32835));  // "修改延迟": the same command in Chinese
    EXPECT_EQ(controls.asked.back(), "edit delay");
    controls.lines[1] = u"    250ms";
    panel.CommitDelayEdit();
    panel.CommitDelayEdit();  // the list reports the end of an edit twice
    EXPECT_EQ(Record(0).events[0].delay, 250);
    EXPECT_EQ(controls.lines[1], u"    250ms");

    controls.hit = {2, 3, false};  // outside the list: no menu, the snapshot still taken
    controls.asked.clear();
    panel.OpenEventMenu();
    EXPECT_TRUE(controls.asked.empty());
    panel.RunMenuCommand({EventMenuCommand::Kind::Delete});
    EXPECT_EQ(Record(0).eventCount, 1);
    EXPECT_EQ(controls.lines, (std::vector<std::u16string>{u"[↓]A"}));
}

TEST_F(MacroEditorPanelTest, ImportAndExportKeepTheMacrosOnScreenUnlessAFileWasRead) {
    panel.Show();
    files.answer.reset();
    panel.ImportMacros();  // cancelled
    EXPECT_EQ(macros.Count(), 2);
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].pattern, u"*.dat");
    EXPECT_EQ(files.requests[0].startFolder, u"C:\\prog");
    EXPECT_EQ(files.requests[0].defaultExtension, u"");

    files.answer = u"Z:\\nowhere\\gone.dat";  // typed, not there
    panel.ImportMacros();
    EXPECT_EQ(macros.Count(), 2);
    EXPECT_EQ(messages.shown.back(), kMissingFileMessage);

    profile.failWrites = true;
    files.answer = u"C:\\prog\\out.dat";
    panel.ExportMacros();
    EXPECT_EQ(files.requests.back().defaultExtension, u"dat");
    EXPECT_EQ(messages.shown.back(), MacroSaveFailedMessage(LanguageMode::English));

    // A file with no macros in it: the editor shows none, nothing of the old list stays.
    messages.existing = {u"C:\\prog\\empty.dat"};
    files.answer = u"C:\\prog\\empty.dat";
    panel.ImportMacros();
    EXPECT_EQ(macros.Count(), 0);
    EXPECT_TRUE(controls.names.empty());
    EXPECT_TRUE(controls.lines.empty());
    EXPECT_EQ(controls.name, u"");
}

}  // namespace

namespace {
// Macros recorded or edited since the last save are saved, dropped or kept as the user answers;
// nothing the user made goes without a word.
TEST_F(MacroEditorPanelTest, UnsavedMacrosAreAskedForBeforeTheyGoAndKeptAsideAtAnUnplug) {
    const std::u16string file = u"C:\\prog\\Macro_EN.dat";
    macros.Edit([](MacroStoreData& d) { MarkMacrosSaved(d, d); });  // as the file holds them
    EXPECT_TRUE(panel.SaveOrDropUnsaved(true));
    EXPECT_TRUE(messages.shown.empty());  // nothing to ask

    panel.Show();
    controls.name = u"third";
    panel.AddMacro();
    messages.answer = Answer::Cancel;
    EXPECT_FALSE(panel.SaveOrDropUnsaved(true));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], u"? " + std::u16string(SaveMacrosQuestion(LanguageMode::English)));
    messages.answer = Answer::No;
    EXPECT_TRUE(panel.SaveOrDropUnsaved(true));
    EXPECT_FALSE(profile.Has(file, u"Macros", u"macroNum"));  // dropped: nothing written

    // Unplugged: a copy beside the file, the file itself untouched.
    panel.KeepUnsavedCopy();
    EXPECT_EQ(profile.Value(UnsavedMacrosCopyOf(file), u"Macros", u"macroNum"), "3");
    EXPECT_FALSE(profile.Has(file, u"Macros", u"macroNum"));

    messages.answer = Answer::Yes;
    EXPECT_TRUE(panel.SaveOrDropUnsaved(true));
    EXPECT_EQ(profile.Value(file, u"Macros", u"macroNum"), "3");
    messages.shown.clear();
    EXPECT_TRUE(panel.SaveOrDropUnsaved(true));  // saved now: no question
    EXPECT_TRUE(messages.shown.empty());
}
}  // namespace
