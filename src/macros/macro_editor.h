// The macro editor of the advanced page without its window: adding, deleting, selecting and
// renaming macros, their repeat setting, and the event list's context menu (insert mouse-button
// events, delete an event, edit a delay). Each operation changes the store and returns what the
// view must show again; none of them does anything while a recording runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "macros/macro_editor_state.h"
#include "macros/macro_store.h"
#include "platform/message_port.h"
#include "platform/profile_port.h"

inline constexpr char16_t kOverflowMessage[] = u"Overflow!!!";
constexpr std::uint16_t kInsertedEventDelay = 30;  // milliseconds after an inserted mouse-button event

struct RepeatBoxView {
    std::u16string text;
    bool enabled = false;
    bool operator==(const RepeatBoxView&) const = default;
};

// What the view does after an operation; members left empty mean "keep as it is".
struct EditorUpdate {
    bool macroList = false;                  // refill the macro list with the store's names
    std::optional<int> selectItem;           // the macro list item to select
    std::optional<std::u16string> nameBox;   // new text of the name box
    std::optional<int> eventListOf;          // refill the event list with this macro's lines...
    std::optional<std::int32_t> selectLine;  // ...and select this line (set with eventListOf)
    std::optional<RepeatBoxView> repeatBox;
    bool repaint = false;     // the page paints the repeat mode
    bool editDelay = false;   // open the event list's in-place editor on its selected line
    bool saveFailed = false;  // the macro file could not be written completely

    bool Inert() const {
        return !macroList && !selectItem && !nameBox && !eventListOf && !repeatBox && !repaint && !editDelay &&
               !saveFailed;
    }
};

// Taken when the event list's context menu opens; the menu's commands and the delay edit use it
// until the next right-click.
struct EventMenuSnapshot {
    std::int32_t macro = -1;  // the macro list's selection, at most 11; -1 for none
    std::int32_t line = -1;   // the event list's selected line; -1 for none
    std::int32_t event = 0;   // the event the line belongs to: line / 2 toward zero
    std::int32_t lineCount = 0;
};

enum class MouseButtonKey : std::uint8_t { Left = kLeftButtonKey, Right = kRightButtonKey, Middle = kMiddleButtonKey };
enum class InsertPlace { Before, After };

// The event-list line under a cursor at screenY, for a list whose client area starts at listTop,
// scrolled by scrollPos items of itemHeight pixels; 0 when the item height is 0.
std::int32_t EventLineAt(int itemHeight, int scrollPos, int screenY, int listTop);

// Parses a delay line as the user left it: the text before the first "ms", like _wtoi, kept to
// its low 16 bits as a two's-complement byte pair (so -1 becomes 255, 65536 + n becomes n).
std::uint16_t DelayFromLineText(std::u16string_view text);

class MacroEditor {
public:
    MacroEditor(MacroStore& store, MacroEditorState& state, ProfilePort& profile, MessagePort& messages)
        : store_(store), state_(state), profile_(profile), messages_(messages) {}

    // Entering the advanced page: the names, the selected macro (bounded to the count) and its events.
    EditorUpdate ShowMacros();
    // The user picked item of the macro list.
    EditorUpdate SelectMacro(int item, bool recording);
    // Adds a macro named text, or selects the macro that already has that name. Names keep at
    // most 19 UTF-16 units; a cut never splits a surrogate pair. Empty text or 12 macros: nothing.
    EditorUpdate AddMacro(std::u16string_view text, bool recording);
    // Names the selected macro text; empty text or the name of another macro: nothing.
    EditorUpdate RenameMacro(std::u16string_view text, bool recording);
    // Deletes the selected macro; the one before it (or the new first) becomes selected.
    EditorUpdate DeleteMacro(bool recording);
    EditorUpdate ToggleRepeatMode(bool recording);
    // Stores the repeat-count box's text, bounded to 1..65535, as the selected macro's repeat
    // count and saves the macro file. The file's macro count is written only after every macro
    // was, so a failed save leaves the earlier count and never bounds the file to nothing.
    EditorUpdate ApplyRepeatCount(std::u16string_view text, bool recording);

    // The event list was right-clicked on line (EventLineAt); lineCount is its number of lines,
    // macroItem the macro list's selection. True when the menu is to be shown.
    bool OpenEventMenu(std::int32_t line, std::int32_t lineCount, int macroItem, bool cursorInList, bool recording);
    EditorUpdate InsertMouseEvent(InsertPlace place, MouseButtonKey button, MacroAction action, bool recording);
    EditorUpdate DeleteEvent(bool recording);
    // Asks for the in-place editor when the selected line is a delay line.
    EditorUpdate ModifyDelay(bool recording) const;
    // The in-place editor closed with lineText on the selected line.
    EditorUpdate CommitDelayEdit(std::u16string_view lineText, bool recording);

    const EventMenuSnapshot& MenuSnapshot() const { return menu_; }

private:
    // The event list of macro shown again, with the repeat box of a macro that has events.
    void RefillEvents(EditorUpdate& update, const MacroStoreData& data, int macro) const;
    // The menu's macro when it is still one of the macros, or -1.
    int MenuMacro(const MacroStoreData& data) const;
    // False (and the overflow message) when the record is full.
    bool InsertEvent(MacroRecord& record, int position, std::uint8_t key, MacroAction action);

    MacroStore& store_;
    MacroEditorState& state_;
    ProfilePort& profile_;
    MessagePort& messages_;
    EventMenuSnapshot menu_;
};
