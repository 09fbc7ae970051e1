// The macro editor on the main window's advanced page: its Windows controls, the recording's
// keyboard and the event list's menu, around the portable MacroEditorPanel that the window's
// controller drives.
#pragma once

#include <windows.h>

#include <functional>

#include "config/program_state.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_store.h"
#include "ui/macro_editor_controls_win32.h"
#include "ui/macro_editor_panel.h"
#include "ui/window_ports_win32.h"

class MacroEditorHost {
public:
    // rects: where the controls go (the skin's, which stay in place across a language switch);
    // font: the language's font at the time a control is made.
    MacroEditorHost(ProgramState& program, MacroStore& macros, MacroEditorState& editorState, WindowPorts ports,
                    const MacroEditorRects& rects, std::function<HFONT()> font);
    MacroEditorHost(const MacroEditorHost&) = delete;
    MacroEditorHost& operator=(const MacroEditorHost&) = delete;

    void SetWindow(HWND window) { window_ = window; }
    MacroEditorPanel& Panel() { return panel_; }

    // While recording, a key message of the window's loop goes to the macro, not to the control
    // that has the focus: true when msg was used up so.
    bool RecordKey(const MSG& msg);
    // A context-menu command (false when id is not one), the macro list's WM_COMMAND, the end of
    // the event list's in-place edit.
    bool OnEventMenuCommand(UINT id);
    void OnMacroListCommand(UINT code);
    void OnDelayEditEnded() { panel_.CommitDelayEdit(); }
    // The event list's context menu, owned by the window that loads the menus.
    void SetEventMenu(std::function<HMENU()> popup) { eventMenu_ = std::move(popup); }

private:
    void ShowEventMenu();
    void LogRecordedKey(DWORD keyTime);

    const AppPaths& paths_;
    HWND window_ = nullptr;
    std::function<HMENU()> eventMenu_;
    MacroEditorControlsWin32 controls_;
    MacroEditorPanel panel_;
};
