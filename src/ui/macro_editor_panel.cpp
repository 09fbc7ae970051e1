#include "ui/macro_editor_panel.h"

#include <vector>

#include "core/user_texts.h"
#include "macros/macro_file.h"

namespace {

std::vector<std::u16string> TextsOf(const std::vector<EventLine>& lines, EventLineCounters& counters) {
    std::vector<std::u16string> texts;
    texts.reserve(lines.size());
    for (const EventLine& line : lines) {
        counters.Count(line);
        texts.push_back(line.text);
    }
    return texts;
}

}  // namespace

MacroEditorPanel::MacroEditorPanel(MacroPanelContext context)
    : context_(std::move(context)), editor_(context_.macros, context_.state, context_.profile, context_.messages) {}

void MacroEditorPanel::Show() {
    context_.controls.Create();
    shown_ = true;
    Carry(editor_.ShowMacros());
}

void MacroEditorPanel::Hide() {
    StopRecording();
    context_.controls.Destroy();
    shown_ = false;
}

void MacroEditorPanel::Reload() {
    StopRecording();
    if (!shown_) return;
    MacroEditorControls& controls = context_.controls;
    // With no macros left nothing else would clear what the old ones showed.
    if (context_.macros.Count() == 0) {
        counters_ = {};
        controls.SetNameText(u"");
        controls.SetEventLines({}, -1);
    }
    Carry(editor_.ShowMacros());
    context_.repaint();
}

void MacroEditorPanel::AddMacro() {
    const std::u16string name = context_.controls.NameText();
    context_.controls.FocusMacroList();
    Carry(editor_.AddMacro(name, Recording()));
}

void MacroEditorPanel::DeleteMacro() { Carry(editor_.DeleteMacro(Recording())); }

void MacroEditorPanel::ToggleRepeatMode() { Carry(editor_.ToggleRepeatMode(Recording())); }

void MacroEditorPanel::ApplyRepeatCount() {
    Carry(editor_.ApplyRepeatCount(context_.controls.RepeatText(), Recording()));
}

void MacroEditorPanel::MacroListSelectionChanged() {
    Carry(editor_.SelectMacro(context_.controls.SelectedMacroItem(), Recording()));
}

void MacroEditorPanel::ToggleRecording() {
    MacroEditorControls& controls = context_.controls;
    if (!shown_) return;
    controls.FocusEventList();
    if (Recording()) {
        StopRecording();
        return;
    }
    const int item = controls.SelectedMacroItem();
    const int target = item < 0 ? 0 : item;
    if (!recorder_.Start(context_.macros, target, controls.MacroItemText(target))) return;
    // Without the capture the keys typed into the window itself are still recorded.
    context_.keys.Install();
    counters_ = {};
    controls.SetRepeatText(u"1", false);
    controls.SetEventLines({}, -1);
    context_.repaint();
}

void MacroEditorPanel::StopRecording() {
    if (!Recording()) return;
    const int released = recorder_.Stop(context_.macros);
    context_.keys.Remove();
    const int end = recorder_.RecordedEvents();
    if (shown_) AppendRecordedLines(end - released, end);
    context_.repaint();
}

void MacroEditorPanel::RecordKey(std::uint32_t message, std::uint32_t vk, std::int32_t nowMsOfDay) {
    const std::optional<int> event = recorder_.Step(context_.macros, message, vk, nowMsOfDay);
    if (!event || !shown_) return;
    AppendRecordedLines(*event, *event + 1);
    context_.repaint();
}

void MacroEditorPanel::AppendRecordedLines(int first, int end) {
    std::vector<EventLine> lines;
    const LanguageMode language = context_.program.language.load();
    context_.macros.Read([&](const MacroStoreData& data) {
        const int target = recorder_.Target();
        if (target < 0 || target >= kMaxMacros) return;
        for (int event = first; event < end; ++event) {
            const std::vector<EventLine> more = EventLinesOf(data.records[target], event, language);
            lines.insert(lines.end(), more.begin(), more.end());
        }
    });
    if (lines.empty()) return;
    MacroEditorControls& controls = context_.controls;
    const std::int32_t last = controls.EventLineCount() + static_cast<std::int32_t>(lines.size()) - 1;
    controls.AppendEventLines(TextsOf(lines, counters_), last);
}

void MacroEditorPanel::OpenEventMenu() {
    if (!shown_ || Recording()) return;
    MacroEditorControls& controls = context_.controls;
    const EventListHit hit = controls.HitEventList();
    const bool show = editor_.OpenEventMenu(hit.line, hit.lineCount, controls.SelectedMacroItem(), hit.inside, false);
    controls.SelectEventLine(hit.line);
    if (show) controls.ShowEventMenu();
}

void MacroEditorPanel::RunMenuCommand(const EventMenuCommand& command) {
    switch (command.kind) {
        case EventMenuCommand::Kind::Insert:
            Carry(editor_.InsertMouseEvent(command.place, command.button, command.action, Recording()));
            break;
        case EventMenuCommand::Kind::ModifyDelay: Carry(editor_.ModifyDelay(Recording())); break;
        case EventMenuCommand::Kind::Delete: Carry(editor_.DeleteEvent(Recording())); break;
    }
}

void MacroEditorPanel::CommitDelayEdit() {
    Carry(editor_.CommitDelayEdit(context_.controls.SelectedEventLineText(), Recording()));
}

FileDialogRequest MacroEditorPanel::MacroFileRequest(bool save) const {
    return {u"All Files(*.dat)", u"*.dat", save ? u"dat" : u"", context_.program.paths.ProgramDir};
}

void MacroEditorPanel::ImportMacros() {
    if (Recording()) return;
    const std::optional<std::u16string> path = context_.files.PickFileToOpen(MacroFileRequest(false));
    if (!path) return;
    // A name typed for a file that is not there must not cost the user the macros on screen.
    if (!context_.messages.FileExists(*path)) {
        context_.messages.ShowMessage(kMissingFileMessage);
        return;
    }
    LoadMacroFile(context_.profile, context_.messages, context_.macros, *path);
    Reload();
}

void MacroEditorPanel::ExportMacros() {
    if (Recording()) return;
    const std::optional<std::u16string> path = context_.files.PickFileToSave(MacroFileRequest(true));
    if (path && !SaveMacroFile(context_.profile, context_.macros, *path)) {
        context_.messages.ShowMessage(MacroSaveFailedMessage(context_.program.language.load()));
    }
}

void MacroEditorPanel::Carry(const EditorUpdate& update) {
    if (update.saveFailed) context_.messages.ShowMessage(MacroSaveFailedMessage(context_.program.language.load()));
    if (!shown_) return;
    MacroEditorControls& controls = context_.controls;
    if (update.macroList) {
        std::vector<std::u16string> names;
        context_.macros.Read([&](const MacroStoreData& data) {
            for (int m = 0; m < data.count && m < kMaxMacros; ++m) names.push_back(data.records[m].Name());
        });
        controls.SetMacroNames(names);
    }
    if (update.selectItem) controls.SelectMacroItem(*update.selectItem);
    if (update.nameBox) controls.SetNameText(*update.nameBox);
    if (update.eventListOf) {
        std::vector<EventLine> lines;
        const int macro = *update.eventListOf;
        const LanguageMode language = context_.program.language.load();
        context_.macros.Read([&](const MacroStoreData& data) {
            if (macro >= 0 && macro < data.count && macro < kMaxMacros) lines = AllEventLines(data.records[macro], language);
        });
        counters_ = {};
        controls.SetEventLines(TextsOf(lines, counters_), update.selectLine.value_or(-1));
    }
    if (update.repeatBox) controls.SetRepeatText(update.repeatBox->text, update.repeatBox->enabled);
    if (update.editDelay) controls.BeginDelayEdit();
    if (update.eventListOf || update.repaint) context_.repaint();
}

std::optional<std::u16string> MacroEditorPanel::FileOfUnsavedMacros() const {
    return context_.macros.Read([](const MacroStoreData& data) {
        return HasUnsavedMacros(data) ? std::optional(data.filePath) : std::nullopt;
    });
}

bool MacroEditorPanel::SaveOrDropUnsaved(bool cancellable) {
    StopRecording();
    const std::optional<std::u16string> path = FileOfUnsavedMacros();
    if (!path) return true;
    const LanguageMode language = context_.program.language.load();
    switch (context_.messages.Ask(SaveMacrosQuestion(language), cancellable)) {
        case Answer::Yes:
            if (SaveMacroFile(context_.profile, context_.macros, *path)) return true;
            context_.messages.ShowMessage(MacroSaveFailedMessage(language));
            return !cancellable;
        case Answer::No: return true;
        case Answer::Cancel: return false;
    }
    return true;
}

void MacroEditorPanel::KeepUnsavedCopy() {
    StopRecording();
    if (const std::optional<std::u16string> path = FileOfUnsavedMacros()) {
        SaveMacroFile(context_.profile, context_.macros, UnsavedMacrosCopyOf(*path));
    }
}
