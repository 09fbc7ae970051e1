// The macro editor on the advanced page: its controls while the page shows, the editor's
// operations, the recording of keystrokes and the macro files the user imports and exports.
// Portable; the window gives it the controls, the key capture and the file dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "config/program_state.h"
#include "macros/event_lines.h"
#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"
#include "platform/profile_port.h"
#include "ui/event_menu_command.h"
#include "ui/macro_editor_controls.h"

struct MacroPanelContext {
    const ProgramState& program;  // language and program folder
    MacroStore& macros;
    MacroEditorState& state;
    ProfilePort& profile;  // the macro files
    MessagePort& messages;
    MacroEditorControls& controls;
    KeyCapturePort& keys;
    FileDialogPort& files;
    std::function<void()> repaint;  // the whole window: the page paints the counters and the record label
};

class MacroEditorPanel {
public:
    explicit MacroEditorPanel(MacroPanelContext context);

    // Entering the advanced page: the controls, filled from the store. Leaving it: a recording
    // stops and the controls go.
    void Show();
    void Hide();
    bool Shown() const { return shown_; }
    // The store was loaded again (language, factory reset): a recording stops, the lists refill.
    void Reload();

    // The page's buttons.
    void AddMacro();
    void DeleteMacro();
    void ToggleRepeatMode();
    void ApplyRepeatCount();
    void ToggleRecording();
    void ImportMacros();
    void ExportMacros();
    // The macro list's selection changed.
    void MacroListSelectionChanged();

    // A right-click while the page shows: the event list's context menu when it was on a line.
    void OpenEventMenu();
    void RunMenuCommand(const EventMenuCommand& command);
    // The event list's in-place editor closed.
    void CommitDelayEdit();

    // A key message while recording, at nowMsOfDay (UTC).
    void RecordKey(std::uint32_t message, std::uint32_t vk, std::int32_t nowMsOfDay);
    // Ends a recording (the event count written, the capture removed); nothing when idle.
    void StopRecording();
    bool Recording() const { return recorder_.Recording(); }
    const EventLineCounters& Counters() const { return counters_; }

    // Before the macros go (the program ends, the language changes): a recording stops, and
    // macros not saved are saved or dropped as the user answers. False when the user called the
    // step off, or when saving failed and the step can be called off.
    bool SaveOrDropUnsaved(bool cancellable);
    // The mouse went and the program ends without a question: macros not saved are kept in a
    // copy beside the macro file, which the next start offers back.
    void KeepUnsavedCopy();

private:
    void Carry(const EditorUpdate& update);
    // Appends the lines of events first..end-1 of the recorded macro and selects the last.
    void AppendRecordedLines(int first, int end);
    FileDialogRequest MacroFileRequest(bool save) const;
    // The macro file, when the macros differ from what it holds.
    std::optional<std::u16string> FileOfUnsavedMacros() const;

    MacroPanelContext context_;
    MacroEditor editor_;
    MacroRecorder recorder_;
    EventLineCounters counters_;
    bool shown_ = false;
};
