#include "ui/macro_editor_host_win32.h"

#include <string>

#include "macros/macro_recorder.h"
#include "platform/measurement_log_win32.h"
#include "ui/event_menu_command.h"

MacroEditorHost::MacroEditorHost(ProgramState& program, MacroStore& macros, MacroEditorState& editorState,
                                 WindowPorts ports, const MacroEditorRects& rects, std::function<HFONT()> font)
    : paths_(program.paths),
      controls_([this] { return window_; }, rects, std::move(font), [this] { ShowEventMenu(); }),
      panel_({program, macros, editorState, ports.profile, ports.messages, controls_, ports.keys, ports.files,
              [this] { InvalidateRect(window_, nullptr, TRUE); }}) {}

bool MacroEditorHost::RecordKey(const MSG& msg) {
    if (!panel_.Recording() || !IsKeyMessage(msg.message)) return false;
    SYSTEMTIME now{};
    GetSystemTime(&now);
    const std::int32_t shownBefore = panel_.Counters().pressLines + panel_.Counters().releaseLines;
    panel_.RecordKey(msg.message, static_cast<std::uint32_t>(msg.wParam),
                     MillisecondsOfDay(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
    if (panel_.Counters().pressLines + panel_.Counters().releaseLines != shownBefore) LogRecordedKey(msg.time);
    return true;
}

bool MacroEditorHost::OnEventMenuCommand(UINT id) {
    const std::optional<EventMenuCommand> command = EventMenuCommandOf(static_cast<int>(id));
    if (!command) return false;
    panel_.RunMenuCommand(*command);
    return true;
}

void MacroEditorHost::OnMacroListCommand(UINT code) {
    if (code == LBN_SELCHANGE) panel_.MacroListSelectionChanged();
}

void MacroEditorHost::ShowEventMenu() {
    HMENU menu = eventMenu_ ? eventMenu_() : nullptr;
    if (!menu) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
}

// keyTime: when the key's message was posted, on the GetTickCount clock.
void MacroEditorHost::LogRecordedKey(DWORD keyTime) {
    if (paths_.RecordLog.empty()) return;
    // The line is shown once the list has painted it.
    if (HWND list = controls_.EventList()) UpdateWindow(list);
    const DWORD elapsed = GetTickCount() - keyTime;
    AppendToMeasurementLog(paths_.RecordLog, "event line shown " + std::to_string(elapsed) + " ms after the key\n");
}
