// The macro editor's controls as Win32 children of the main window: two edit boxes and two
// list boxes at the rectangles of the advanced page's skin, the event list editable in place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/editable_list_box_win32.h"
#include "skin/skin_description.h"
#include "ui/macro_editor_controls.h"

inline constexpr int kNameBoxId = 10000;
inline constexpr int kMacroListId = 10001;
inline constexpr int kEventListId = 10002;
inline constexpr int kRepeatCountBoxId = 10004;

class MacroEditorControlsWin32 : public MacroEditorControls {
public:
    // rects: the skin's table, read at each Create (a language switch reloads it). font: the
    // language's font at the time of the call. showEventMenu: the owner's context menu.
    MacroEditorControlsWin32(std::function<HWND()> mainWindow, const MacroEditorRects& rects,
                             std::function<HFONT()> font, std::function<void()> showEventMenu);
    ~MacroEditorControlsWin32() override;
    MacroEditorControlsWin32(const MacroEditorControlsWin32&) = delete;
    MacroEditorControlsWin32& operator=(const MacroEditorControlsWin32&) = delete;

    void Create() override;
    void Destroy() override;

    void SetMacroNames(const std::vector<std::u16string>& names) override;
    void SelectMacroItem(int item) override;
    int SelectedMacroItem() const override;
    std::u16string MacroItemText(int item) const override;
    void FocusMacroList() override;

    void SetNameText(std::u16string_view text) override;
    std::u16string NameText() const override;

    void SetEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) override;
    void AppendEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine) override;
    std::int32_t EventLineCount() const override;
    std::u16string SelectedEventLineText() const override;
    void SelectEventLine(std::int32_t line) override;
    void FocusEventList() override;
    EventListHit HitEventList() const override;
    void BeginDelayEdit() override;
    void ShowEventMenu() override;

    void SetRepeatText(std::u16string_view text, bool enabled) override;
    std::u16string RepeatText() const override;

    // The event list, for the owner's handling of its in-place editor.
    HWND EventList() const { return Alive(eventList_); }

private:
    // The control, or null when it was never created or is gone with its parent.
    static HWND Alive(HWND control) { return control && IsWindow(control) ? control : nullptr; }
    void AddEventLines(const std::vector<std::u16string>& lines, std::int32_t selectLine);

    std::function<HWND()> mainWindow_;
    const MacroEditorRects& rects_;
    std::function<HFONT()> font_;
    std::function<void()> showEventMenu_;

    HWND nameBox_ = nullptr;
    HWND repeatBox_ = nullptr;
    HWND macroList_ = nullptr;
    HWND eventList_ = nullptr;
    CEditableListBox eventListBox_;
};
