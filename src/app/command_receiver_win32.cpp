#include "app/command_receiver_win32.h"

#include <vector>

#include "app/command_message.h"
#include "app/running_copy_win32.h"
#include "platform/wide_text_win32.h"
#include "resource.h"
#include "ui/tray_win32.h"

namespace {
constexpr DWORD kReplyTimeout = 5000;
// The start is in its request's send, which takes sent messages at once; one that does not
// answer soon has given up.
constexpr DWORD kAcknowledgeTimeout = 2000;

// Posted to the window when answers wait to be sent.
UINT AnswersWaitingMessage() {
    static const UINT message = RegisterWindowMessageW(L"HXT_GMouse.AnswersWaiting");
    return message;
}
// Posted to the window once per command taken, which it then carries out.
UINT CommandWaitingMessage() {
    static const UINT message = RegisterWindowMessageW(L"HXT_GMouse.CommandWaiting");
    return message;
}

// Sends a reply to the start's window to; whether that took it. Not SMTO_ABORTIFHUNG: a start
// that slept while this copy started up may count as hung, though it takes sent messages.
bool SendReply(HWND from, HWND to, const CommandReply& reply, DWORD timeout) {
    std::vector<std::uint8_t> bytes = EncodeReply(reply);
    COPYDATASTRUCT data{kReplyTag, static_cast<DWORD>(bytes.size()), bytes.data()};
    DWORD_PTR taken = 0;
    return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                               reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, timeout, &taken) &&
           taken;
}
}  // namespace

void CommandReceiver::Listen(MessageTable& messages) {
    messages.Set(RunningCopyMessage(), [this](WPARAM ask, LPARAM) { return OnRunningCopyMessage(ask); });
    messages.Set(WM_COPYDATA, [this](WPARAM, LPARAM data) { return OnCopyData(data); });
    messages.Set(AnswersWaitingMessage(), [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        SendAnswers();
        return 0;
    });
    messages.Set(CommandWaitingMessage(), [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (commands_.empty()) return 0;
        Answer next = std::move(commands_.front());
        commands_.pop_front();
        CarryOut(std::move(next));
        return 0;
    });
}

std::optional<LRESULT> CommandReceiver::OnRunningCopyMessage(WPARAM ask) {
    if (ask == kAskShow && window_) {
        ShowFromTray(window_);
        SetForegroundWindow(window_);
    }
    if (ask == kAskQuit && window_) PostMessageW(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
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
    // Only acknowledged here, also under a message box or dialog of ours (their loops dispatch
    // this message too): carrying it out may take long, or show a box of its own, while the start
    // waits in its send. A start that no longer takes the acknowledgement has told its user the
    // copy does not respond, so the command is dropped.
    Answer answer{replyTo, request->id, request->command, CommandOutcome::Done};
    if (!SendReply(window_, replyTo, {request->id, CommandOutcome::Accepted}, kAcknowledgeTimeout)) return FALSE;
    commands_.push_back(std::move(answer));
    PostMessageW(window_, CommandWaitingMessage(), 0, 0);
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
        // A start that gave up waiting is gone: the answer then reaches nobody, which is fine.
        SendReply(window_, answer.replyTo, {answer.id, answer.outcome}, kReplyTimeout);
    }
}
