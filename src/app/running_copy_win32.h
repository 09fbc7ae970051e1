// The copy of the program that already runs, as another start of it sees it: its main window,
// found under either language's title, asked to come to the front or handed a command.
#pragma once

#include <windows.h>

#include <string>

#include "app/program_command.h"

// The registered message by which the main window proves it is ours. wParam kAskReady: it
// answers kAnswerReady once its start-up is over, kAnswerStarting before; wParam kAskShow: it
// shows itself (from the tray too) in front.
UINT RunningCopyMessage();
inline constexpr WPARAM kAskReady = 0;
inline constexpr WPARAM kAskShow = 1;
// wParam kAskQuit: it ends as the tray's Exit ends it.
inline constexpr WPARAM kAskQuit = 2;
inline constexpr LRESULT kAnswerReady = 0x48585452;
inline constexpr LRESULT kAnswerStarting = 0x48585453;

// The running copy's main window; with ready, only once it takes commands. Searched until wait
// (milliseconds) is over: a copy just started may not have its window yet. Null when none
// answered. Given a process that is to be the copy (starting), the search ends when it has ended.
HWND FindRunningCopy(DWORD wait, bool ready, HANDLE starting = nullptr);

// Asks the copy to show its window in front, also when it is hidden in the tray.
void AskToShow(HWND copy);

// Asks the copy to end as the tray's Exit ends it, and waits up to wait milliseconds for its
// process to be gone. True when it ended.
bool AskToQuit(HWND copy, DWORD wait);

struct HandOverResult {
    int status = 1;     // the start's exit status
    std::wstring line;  // what to tell the user
};
// Hands command over and waits for the copy's acknowledgement and outcome as CommandWait says.
HandOverResult HandOver(HWND copy, const ProgramCommand& command);
