#include "macros/macro_editor.h"

#include <algorithm>

#include "macros/macro_file.h"
#include "platform/text.h"

namespace {

constexpr int kMaxRepeatCount = 65535;

int CountOf(const MacroStoreData& data) { return std::clamp<int>(data.count, 0, kMaxMacros); }

// The selected macro when it is one of the macros, or -1.
int SelectedMacro(const MacroStoreData& data) {
    return data.selected >= 0 && data.selected < CountOf(data) ? data.selected : -1;
}

RepeatBoxView RepeatBoxOf(const MacroRecord& record) {
    if (record.repeatMode == 0) return {u"1", false};
    return {DecimalText(record.repeatCount), true};
}

// The macro named name as it would be stored, or -1; skip is left out of the search.
int FindMacro(const MacroStoreData& data, std::u16string_view storedName, int skip = -1) {
    for (int m = 0; m < CountOf(data); ++m) {
        if (m != skip && data.records[m].Name() == storedName) return m;
    }
    return -1;
}

}  // namespace

std::int32_t EventLineAt(int itemHeight, int scrollPos, int screenY, int listTop) {
    if (itemHeight == 0) return 0;
    return (itemHeight * scrollPos + screenY - listTop) / itemHeight;
}

std::uint16_t DelayFromLineText(std::u16string_view text) {
    const std::size_t ms = text.find(u"ms");
    const int number = WtoI(ms == std::u16string_view::npos ? text : text.substr(0, ms));
    // Both bytes keep the sign of the number before they are cut, so -1 stores 255, not 65535.
    const auto low = static_cast<std::uint8_t>(number % 256);
    const auto high = static_cast<std::uint8_t>(number / 256);
    return static_cast<std::uint16_t>(low | (high << 8));
}

void MacroEditor::RefillEvents(EditorUpdate& update, const MacroStoreData& data, int macro) const {
    update.eventListOf = macro;
    update.selectLine = state_.selectedLine.load();
    // A macro without events leaves the repeat box as it was.
    if (macro >= 0 && macro < kMaxMacros && data.records[macro].eventCount > 0) {
        update.repeatBox = RepeatBoxOf(data.records[macro]);
    }
}

int MacroEditor::MenuMacro(const MacroStoreData& data) const {
    return menu_.macro >= 0 && menu_.macro < CountOf(data) ? menu_.macro : -1;
}

EditorUpdate MacroEditor::ShowMacros() {
    EditorUpdate update;
    update.macroList = true;
    store_.Edit([&](MacroStoreData& data) {
        const int count = CountOf(data);
        if (count == 0) return;
        data.selected = std::clamp(data.selected, 0, count - 1);
        update.selectItem = data.selected;
        update.nameBox = data.records[data.selected].Name();
        RefillEvents(update, data, data.selected);
    });
    return update;
}

EditorUpdate MacroEditor::SelectMacro(int item, bool recording) {
    EditorUpdate update;
    store_.Edit([&](MacroStoreData& data) {
        if (recording || item < 0 || item >= CountOf(data)) {
            // The list keeps showing the macro being recorded into.
            if (SelectedMacro(data) >= 0) update.selectItem = data.selected;
            return;
        }
        data.selected = item;
        update.nameBox = data.records[item].Name();
        RefillEvents(update, data, item);
    });
    return update;
}

EditorUpdate MacroEditor::AddMacro(std::u16string_view text, bool recording) {
    EditorUpdate update;
    if (recording || text.empty()) return update;
    // Compared as it would be stored, so adding the same long name twice finds the first.
    const std::u16string name = NewMacro(text).Name();
    store_.Edit([&](MacroStoreData& data) {
        const int count = CountOf(data);
        if (count >= kMaxMacros) return;
        int index = FindMacro(data, name);
        if (index < 0) {
            index = count;
            data.records[index] = NewMacro(name);
            data.count = static_cast<std::int16_t>(count + 1);
            update.macroList = true;
        }
        data.selected = index;
        update.selectItem = index;
        update.nameBox = data.records[index].Name();
        RefillEvents(update, data, index);
    });
    return update;
}

EditorUpdate MacroEditor::RenameMacro(std::u16string_view text, bool recording) {
    EditorUpdate update;
    if (recording) return update;
    const std::u16string name = NewMacro(text).Name();
    if (name.empty()) return update;
    store_.Edit([&](MacroStoreData& data) {
        const int selected = SelectedMacro(data);
        // Two macros of one name could no longer be told apart by adding it.
        if (selected < 0 || FindMacro(data, name, selected) >= 0) return;
        data.records[selected].SetName(name);
        update.macroList = true;
        update.selectItem = selected;
        update.nameBox = name;
    });
    return update;
}

EditorUpdate MacroEditor::DeleteMacro(bool recording) {
    EditorUpdate update;
    if (recording) return update;
    store_.Edit([&](MacroStoreData& data) {
        const int count = CountOf(data);
        const int deleted = SelectedMacro(data);
        if (deleted < 0) return;
        std::move(data.records.begin() + deleted + 1, data.records.begin() + count, data.records.begin() + deleted);
        MacroRecord& freed = data.records[count - 1];
        freed.repeatMode = 0;
        freed.repeatCount = 1;
        freed.eventCount = 0;
        data.count = static_cast<std::int16_t>(count - 1);

        const int next = deleted > 0 ? deleted - 1 : 0;
        data.selected = next;
        update.macroList = true;
        if (data.count == 0) {
            update.nameBox = u"";
            update.repeatBox = RepeatBoxView{u"1", false};
        } else {
            update.selectItem = next;
            update.nameBox = data.records[next].Name();
        }
        RefillEvents(update, data, next);
    });
    return update;
}

EditorUpdate MacroEditor::ToggleRepeatMode(bool recording) {
    EditorUpdate update;
    if (recording) return update;
    store_.Edit([&](MacroStoreData& data) {
        const int selected = SelectedMacro(data);
        if (selected < 0) return;
        MacroRecord& record = data.records[selected];
        record.repeatMode = record.repeatMode == 0 ? 1 : 0;
        update.repeatBox = RepeatBoxOf(record);
        update.repaint = true;
    });
    return update;
}

EditorUpdate MacroEditor::ApplyRepeatCount(std::u16string_view text, bool recording) {
    EditorUpdate update;
    if (recording) return update;
    const int parsed = WtoI(text);
    const int count = std::clamp(parsed, 1, kMaxRepeatCount);
    const std::u16string path = store_.Edit([&](MacroStoreData& data) {
        const int selected = SelectedMacro(data);
        bool enabled = false;
        if (selected >= 0) {
            data.records[selected].repeatCount = static_cast<std::uint16_t>(count);
            enabled = data.records[selected].repeatMode != 0;
        }
        if (count != parsed) update.repeatBox = RepeatBoxView{DecimalText(count), enabled};
        return data.filePath;
    });
    update.saveFailed = !SaveMacroFile(profile_, store_, path);
    return update;
}

bool MacroEditor::OpenEventMenu(std::int32_t line, std::int32_t lineCount, int macroItem, bool cursorInList,
                                bool recording) {
    if (recording) return false;
    state_.selectedLine = line;
    const bool onLine = line >= 0 && line < lineCount;
    menu_.line = onLine ? line : -1;  // the list keeps no selection beyond its lines
    menu_.macro = std::min(macroItem, kMaxMacros - 1);
    menu_.event = menu_.line / 2;
    menu_.lineCount = lineCount;
    return cursorInList && (onLine || lineCount == 0);
}

bool MacroEditor::InsertEvent(MacroRecord& record, int position, std::uint8_t key, MacroAction action) {
    const int count = record.BoundedEventCount();
    if (count + 1 > kMaxMacroEvents) return false;
    position = std::clamp(position, 0, count);
    std::move_backward(record.events.begin() + position, record.events.begin() + count,
                       record.events.begin() + count + 1);
    record.events[position] = MacroEvent{key, action, kInsertedEventDelay};
    record.eventCount = static_cast<std::uint8_t>(count + 1);
    state_.selectedLine += 2;
    return true;
}

EditorUpdate MacroEditor::InsertMouseEvent(InsertPlace place, MouseButtonKey button, MacroAction action,
                                           bool recording) {
    EditorUpdate update;
    if (recording) return update;
    bool overflow = false;
    store_.Edit([&](MacroStoreData& data) {
        const int macro = MenuMacro(data);
        if (macro < 0) return;
        MacroRecord& record = data.records[macro];
        const bool empty = record.eventCount == 0;
        const int position = place == InsertPlace::Before ? menu_.event : (empty ? 0 : menu_.event + 1);
        if (!InsertEvent(record, position, static_cast<std::uint8_t>(button), action)) {
            overflow = true;
            return;
        }
        if (place == InsertPlace::After && empty) state_.selectedLine = 0;
        RefillEvents(update, data, macro);
    });
    // Outside the store's lock: the message waits for the user.
    if (overflow) messages_.ShowMessage(kOverflowMessage);
    return update;
}

EditorUpdate MacroEditor::DeleteEvent(bool recording) {
    EditorUpdate update;
    if (recording) return update;
    store_.Edit([&](MacroStoreData& data) {
        const int macro = MenuMacro(data);
        if (macro < 0) return;
        MacroRecord& record = data.records[macro];
        const int count = record.BoundedEventCount();
        // A snapshot older than the macro's last edit must not delete some other event.
        if (menu_.event < 0 || menu_.event >= count) return;
        std::move(record.events.begin() + menu_.event + 1, record.events.begin() + count,
                  record.events.begin() + menu_.event);
        record.eventCount = static_cast<std::uint8_t>(count - 1);
        const std::int32_t line = state_.selectedLine;
        state_.selectedLine = line > 2 ? line - 2 : 0;
        RefillEvents(update, data, macro);
    });
    return update;
}

EditorUpdate MacroEditor::ModifyDelay(bool recording) const {
    EditorUpdate update;
    const std::int32_t line = state_.selectedLine;
    update.editDelay = !recording && menu_.macro >= 0 && menu_.lineCount != 0 && line > 0 && line % 2 == 1;
    return update;
}

EditorUpdate MacroEditor::CommitDelayEdit(std::u16string_view lineText, bool recording) {
    EditorUpdate update;
    if (recording) return update;
    const std::uint16_t delay = DelayFromLineText(lineText);
    store_.Edit([&](MacroStoreData& data) {
        const int macro = MenuMacro(data);
        if (macro < 0) return;
        MacroRecord& record = data.records[macro];
        if (menu_.event < 0 || menu_.event >= record.BoundedEventCount()) return;
        record.events[menu_.event].delay = delay;
        RefillEvents(update, data, macro);
    });
    return update;
}
