// The running copy's side of the script commands: another start's questions (are you ours and
// ready, show yourself, end) and the commands it hands over. A command handed
// over is acknowledged at once and carried out from a message of the window's own, through its
// controller; its outcome then leaves from another message of the window's.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>

#include "app/program_command.h"
#include "platform/message_table_win32.h"
#include "ui/main_window_view_win32.h"

class CommandReceiver {
public:
    explicit CommandReceiver(MainWindowView& view) : view_(view) {}
    CommandReceiver(const CommandReceiver&) = delete;
    CommandReceiver& operator=(const CommandReceiver&) = delete;

    // Registers the handlers in the main window's message table.
    void Listen(MessageTable& messages);
    // Start-up is over: window takes commands from now on.
    void Ready(HWND window) { window_ = window; }

private:
    struct Answer {
        HWND replyTo = nullptr;
        std::uint32_t id = 0;
        ProgramCommand command;
        CommandOutcome outcome = CommandOutcome::Done;
    };
    std::optional<LRESULT> OnRunningCopyMessage(WPARAM ask);
    std::optional<LRESULT> OnCopyData(LPARAM data);
    void CarryOut(Answer answer);
    void SendAnswers();

    MainWindowView& view_;
    HWND window_ = nullptr;  // set once ready
    std::deque<Answer> commands_;  // acknowledged, to be carried out in order
    std::deque<Answer> answers_;
};
