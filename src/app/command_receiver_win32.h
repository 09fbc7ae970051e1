// The running copy's side of the script commands: another start's questions (are you ours and
// ready, show yourself), the commands it hands over, and this start's own command. A command handed
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
    // The command this start was given, carried out once the start-up is over.
    void SetStartCommand(ProgramCommand command) { startCommand_ = std::move(command); }
    // Start-up is over: window takes commands from now on, beginning with the start's own.
    void Ready(HWND window);
    // How the start's own command ended; nothing while it runs, or when it never began.
    std::optional<CommandOutcome> StartOutcome() const { return startOutcome_; }

private:
    struct Answer {
        HWND replyTo = nullptr;  // null: the start's own command, told on its console
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
    std::optional<ProgramCommand> startCommand_;
    std::optional<CommandOutcome> startOutcome_;
    std::deque<Answer> commands_;  // acknowledged, to be carried out in order
    std::deque<Answer> answers_;
};
