// The macro editor's controls as plain lists, the key capture as a flag and the file dialogs as
// prepared answers; "menu" and "edit delay" are noted when asked for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialog_port.h"
#include "ui/macro_editor_controls.h"

struct FakeMacroControls : MacroEditorControls {
    bool created = false;
    std::vector<std::u16string> names;
    int macroItem = -1;
    std::u16string name;
    std::vector<std::u16string> lines;
    std::int32_t line = -1;
    std::u16string repeatText;
    bool repeatEnabled = false;
    EventListHit hit;
    std::vector<std::string> asked;  // "menu", "edit delay", "focus events", "focus macros"

    void Create() override { created = true; }
    void Destroy() override { created = false; }
    void SetMacroNames(const std::vector<std::u16string>& items) override { names = items, macroItem = -1; }
    void SelectMacroItem(int item) override { macroItem = item >= 0 && item < int(names.size()) ? item : -1; }
    int SelectedMacroItem() const override { return macroItem; }
    std::u16string MacroItemText(int item) const override {
        return item >= 0 && item < int(names.size()) ? names[item] : std::u16string();
    }
    void FocusMacroList() override { asked.push_back("focus macros"); }
    void SetNameText(std::u16string_view text) override { name = text; }
    std::u16string NameText() const override { return name; }
    void SetEventLines(const std::vector<std::u16string>& all, std::int32_t select) override {
        lines = all;
        SelectEventLine(select);
    }
    void AppendEventLines(const std::vector<std::u16string>& more, std::int32_t select) override {
        lines.insert(lines.end(), more.begin(), more.end());
        SelectEventLine(select);
    }
    std::int32_t EventLineCount() const override { return std::int32_t(lines.size()); }
    std::u16string SelectedEventLineText() const override { return line >= 0 ? lines[line] : std::u16string(); }
    void SelectEventLine(std::int32_t select) override { line = select >= 0 && select < EventLineCount() ? select : -1; }
    void FocusEventList() override { asked.push_back("focus events"); }
    EventListHit HitEventList() const override { return hit; }
    void BeginDelayEdit() override { asked.push_back("edit delay"); }
    void ShowEventMenu() override { asked.push_back("menu"); }
    void SetRepeatText(std::u16string_view text, bool enabled) override { repeatText = text, repeatEnabled = enabled; }
    std::u16string RepeatText() const override { return repeatText; }
};

struct FakeKeyCapture : KeyCapturePort {
    bool installed = false;
    bool Install() override { return installed = true; }
    void Remove() override { installed = false; }
};

struct FakeFileDialogs : FileDialogPort {
    std::optional<std::u16string> answer;  // nothing: the user cancels
    std::vector<FileDialogRequest> requests;
    std::optional<std::u16string> PickFileToOpen(const FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    std::optional<std::u16string> PickFileToSave(const FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
};
