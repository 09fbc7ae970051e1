// The macro editor's four controls on the advanced page (name box, macro list, event list and
// repeat-count box) as the portable panel drives them. The window implements them with list
// boxes and edit controls; tests with plain lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Where a right-click on the event list landed.
struct EventListHit {
    std::int32_t line = 0;       // the line under the cursor, counting scrolled-off lines
    std::int32_t lineCount = 0;  // lines in the list
    bool inside = false;         // the cursor lies inside the list's client area
};

class MacroEditorControls {
public:
    virtual ~MacroEditorControls() = default;

    // Creates the four controls at the advanced page's rectangles; Destroy removes them again.
    virtual void Create() = 0;
    virtual void Destroy() = 0;

    // Macro list: one item per name, in order; item -1 clears the selection.
    virtual void SetMacroNames(const std::vector<std::u16string>& names) = 0;
    virtual void SelectMacroItem(int item) = 0;
    virtual int SelectedMacroItem() const = 0;  // -1 for none
    virtual std::u16string MacroItemText(int item) const = 0;
    virtual void FocusMacroList() = 0;

    virtual void SetNameText(std::u16string_view text) = 0;
    virtual std::u16string NameText() const = 0;

    // Event list: the lines replaced, or appended; then line selectLine is selected (a line
    // beyond the list selects none).
    virtual void SetEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) = 0;
    virtual void AppendEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) = 0;
    virtual std::int32_t EventLineCount() const = 0;
    virtual std::u16string SelectedEventLineText() const = 0;  // empty when none is selected
    virtual void SelectEventLine(std::int32_t line) = 0;         // beyond the lines: none
    virtual void FocusEventList() = 0;
    // The line under the cursor, for the context menu.
    virtual EventListHit HitEventList() const = 0;
    // Opens the in-place editor over the selected line; when it closes the window hears of it
    // (MacroEditorPanel::CommitDelayEdit).
    virtual void BeginDelayEdit() = 0;
    // The event list's context menu at the cursor; its command comes back as a menu command.
    virtual void ShowEventMenu() = 0;

    virtual void SetRepeatText(std::u16string_view text, bool enabled) = 0;
    virtual std::u16string RepeatText() const = 0;
};

// The keyboard capture of a recording: while installed every keystroke of the desktop is taken
// away from the other programs and reaches the window's key messages instead.
class KeyCapturePort {
public:
    virtual ~KeyCapturePort() = default;
    virtual bool Install() = 0;
    virtual void Remove() = 0;
};
