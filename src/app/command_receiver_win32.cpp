#include "app/command_receiver_win32.h"

#include <vector>

#include "app/command_message.h"
#include "app/running_copy_win32.h"
#include "platform/console_win32.h"
#include "platform/wide_text_win32.h"
#include "ui/tray_win32.h"

namespace {
constexpr DWORD kReplyTimeout = 5000;

// Posted to the window when answers wait to be sent.
UINT AnswersWaitingMessage() {
    static const UINT message = RegisterWindowMessageW(L"HXT_GMouse.AnswersWaiting");
    return message;
}
}  // namespace

void CommandReceiver::Listen(MessageTable& messages) {
    messages.Set(RunningCopyMessage(), [this](WPARAM ask, LPARAM) { return OnRunningCopyMessage(ask); });
    messages.Set(WM_COPYDATA, [this](WPARAM, LPARAM data) { return OnCopyData(data); });
    messages.Set(AnswersWaitingMessage(), [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        SendAnswers();
        return 0;
    });
}

void CommandReceiver::Ready(HWND window) {
    window_ = window;
    if (startCommand_) CarryOut({nullptr, 0, *startCommand_, CommandOutcome::Done});
}

std::optional<LRESULT> CommandReceiver::OnRunningCopyMessage(WPARAM ask) {
    if (ask == kAskShow && window_) {
        ShowFromTray(window_);
        SetForegroundWindow(window_);
    }
    return window_ ? kAnswerReady : kAnswerStarting;
}

std::optional<LRESULT> CommandReceiver::OnCopyData(LPARAM data) {
    // The data is another process's: only what DecodeRequest accepts is used, and it is copied
    // out before this message returns (the buffer goes with it).
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(data);
    if (!window_ || !copy || copy->dwData != kRequestTag) return FALSE;
    const std::optional<CommandRequest> request = DecodeRequest(copy->lpData, copy->cbData);
    if (!request) return FALSE;
    const HWND replyTo = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->replyWindow));
    if (!IsWindow(replyTo)) return FALSE;
    CarryOut({replyTo, request->id, request->command, CommandOutcome::Done});
    return TRUE;
}

void CommandReceiver::CarryOut(Answer answer) {
    // The answer leaves from a message of its own: sending it waits for the other start.
    auto done = [this, answer](bool ok) mutable {
        answer.outcome = ok ? CommandOutcome::Done : CommandOutcome::Failed;
        answers_.push_back(answer);
        PostMessageW(window_, AnswersWaitingMessage(), 0, 0);
    };
    switch (answer.command.kind) {
        case CommandKind::Slot: view_.SwitchToSlot(answer.command.slot, std::move(done)); break;
        case CommandKind::Export: view_.ExportConfigTo(answer.command.file, std::move(done)); break;
        case CommandKind::Import: view_.ImportConfigFrom(answer.command.file, std::move(done)); break;
    }
}

void CommandReceiver::SendAnswers() {
    while (!answers_.empty()) {
        const Answer answer = answers_.front();
        answers_.pop_front();
        if (!answer.replyTo) {
            startOutcome_ = answer.outcome;
            WriteToStartingConsole(ToWide(OutcomeLine(answer.command, answer.outcome)));
            continue;
        }
        std::vector<std::uint8_t> bytes = EncodeReply({answer.id, answer.outcome});
        COPYDATASTRUCT data{kReplyTag, static_cast<DWORD>(bytes.size()), bytes.data()};
        DWORD_PTR taken = 0;
        // A start that gave up waiting is gone: the answer then reaches nobody, which is fine.
        SendMessageTimeoutW(answer.replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(window_),
                            reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kReplyTimeout, &taken);
    }
}
