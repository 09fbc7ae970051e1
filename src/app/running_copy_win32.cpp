#include "app/running_copy_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/command_message.h"
#include "app/command_wait.h"
#include "core/app_paths.h"
#include "platform/wide_text_win32.h"

namespace {
constexpr DWORD kAskTimeout = 1000;
constexpr wchar_t kDialogClass[] = L"#32770";

// Milliseconds since the hand-over began, the model's time.
class Stopwatch {
public:
    CommandWait::Time Now() const { return CommandWait::Time{static_cast<long long>(GetTickCount64() - start_)}; }

private:
    ULONGLONG start_ = GetTickCount64();
};

// A message-only window of this start that takes the copy's acknowledgement and outcome of one
// request and feeds them to the wait.
class ReplyWindow {
public:
    ReplyWindow(std::uint32_t id, CommandWait& wait, const Stopwatch& clock) : id_(id), wait_(wait), clock_(clock) {
        static const ATOM kClass = [] {
            WNDCLASSW c{};
            c.lpfnWndProc = &ReplyWindow::Proc;
            c.hInstance = GetModuleHandleW(nullptr);
            c.lpszClassName = L"HXT_GMouse.Reply";
            return RegisterClassW(&c);
        }();
        if (kClass) {
            hwnd_ = CreateWindowExW(0, MAKEINTATOM(kClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        }
        if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ReplyWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    ReplyWindow(const ReplyWindow&) = delete;
    ReplyWindow& operator=(const ReplyWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<ReplyWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message != WM_COPYDATA || !self) return DefWindowProcW(hwnd, message, w, l);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
        if (!data || data->dwData != kReplyTag) return FALSE;
        const std::optional<CommandReply> reply = DecodeReply(data->lpData, data->cbData);
        if (!reply || reply->id != self->id_) return FALSE;
        // The answer to the acknowledgement tells the copy whether to carry the command out.
        if (reply->outcome == CommandOutcome::Accepted) return self->wait_.Acknowledged(self->clock_.Now()) ? TRUE : FALSE;
        self->wait_.OutcomeArrived(reply->outcome, self->clock_.Now());
        return TRUE;
    }

    std::uint32_t id_;
    CommandWait& wait_;
    const Stopwatch& clock_;
    HWND hwnd_ = nullptr;
};

// The copy's answer to kAskReady; 0 when it is not ours or does not answer.
LRESULT Ask(HWND window) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, RunningCopyMessage(), kAskReady, 0, SMTO_ABORTIFHUNG, kAskTimeout, &answer)) return 0;
    return static_cast<LRESULT>(answer);
}

// Runs this thread's messages (the copy's replies come as sent messages) until the wait is decided.
void WaitForOutcome(CommandWait& wait, const Stopwatch& clock, HWND copy) {
    for (;;) {
        wait.TimePassed(clock.Now());
        if (!IsWindow(copy)) wait.CopyGone(clock.Now());
        if (wait.Decided()) return;
        const auto slice = std::min<long long>(wait.Left(clock.Now()).count(), 250);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::max<long long>(slice, 1)), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}
}  // namespace

UINT RunningCopyMessage() {
    static const UINT message = RegisterWindowMessageW(L"HXT_GMouse.RunningCopy.1");
    return message;
}

HWND FindRunningCopy(DWORD wait, bool ready, HANDLE starting) {
    const ULONGLONG deadline = GetTickCount64() + wait;
    for (;;) {
        // Both titles: the copy may run in either language, whatever this start would choose.
        for (const LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
            const std::wstring title = ToWide(WindowTitle(language));
            for (HWND window = FindWindowExW(nullptr, nullptr, kDialogClass, title.c_str()); window;
                 window = FindWindowExW(nullptr, window, kDialogClass, title.c_str())) {
                const LRESULT answer = Ask(window);
                if (answer == kAnswerReady || (!ready && answer == kAnswerStarting)) return window;
            }
        }
        if (GetTickCount64() >= deadline) return nullptr;
        if (starting && WaitForSingleObject(starting, 200) == WAIT_OBJECT_0) return nullptr;
        if (!starting) Sleep(200);
    }
}

void AskToShow(HWND copy) {
    // The copy may take the foreground only when the process in front (this one) lets it.
    DWORD process = 0;
    GetWindowThreadProcessId(copy, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(copy, RunningCopyMessage(), kAskShow, 0, SMTO_ABORTIFHUNG, kAskTimeout, &answer);
}

bool AskToQuit(HWND copy, DWORD wait) {
    DWORD process = 0;
    GetWindowThreadProcessId(copy, &process);
    const HANDLE running = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!running) return false;
    // Posted: the copy's close may ask about unsaved macros, and this start must not hang on it.
    const bool asked = PostMessageW(copy, RunningCopyMessage(), kAskQuit, 0) != FALSE;
    const bool ended = asked && WaitForSingleObject(running, wait) == WAIT_OBJECT_0;
    CloseHandle(running);
    return ended;
}

HandOverResult HandOver(HWND copy, const ProgramCommand& command) {
    const auto id = static_cast<std::uint32_t>(GetCurrentProcessId());
    const Stopwatch clock;
    CommandWait wait;
    const ReplyWindow window(id, wait, clock);
    if (!window.Hwnd()) return {kStatusNotDone, L"Cannot create a window for the running copy's answer."};
    const std::vector<std::uint8_t> bytes =
        EncodeRequest({id, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window.Hwnd())), command});
    COPYDATASTRUCT data{kRequestTag, static_cast<DWORD>(bytes.size()), const_cast<std::uint8_t*>(bytes.data())};
    DWORD_PTR taken = 0;
    // Not SMTO_BLOCK: the copy's acknowledgement is a message sent to this thread meanwhile.
    const bool answered =
        SendMessageTimeoutW(copy, WM_COPYDATA, reinterpret_cast<WPARAM>(window.Hwnd()), reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG, static_cast<UINT>(kAcknowledgementWait.count()), &taken) != 0;
    wait.RequestReturned(answered, clock.Now());
    WaitForOutcome(wait, clock, copy);
    return {wait.ExitStatus(), ToWide(wait.Line(command))};
}
