#include "app/running_copy_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/command_message.h"
#include "core/app_paths.h"
#include "platform/wide_text_win32.h"

namespace {
constexpr DWORD kAskTimeout = 1000;
constexpr DWORD kHandOverTimeout = 10000;
constexpr wchar_t kDialogClass[] = L"#32770";

// A message-only window of this start that takes the copy's reply to one request.
class ReplyWindow {
public:
    explicit ReplyWindow(std::uint32_t id) : id_(id) {
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
    const std::optional<CommandOutcome>& Outcome() const { return outcome_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<ReplyWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message != WM_COPYDATA || !self) return DefWindowProcW(hwnd, message, w, l);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
        if (!data || data->dwData != kReplyTag) return FALSE;
        const std::optional<CommandReply> reply = DecodeReply(data->lpData, data->cbData);
        if (!reply || reply->id != self->id_) return FALSE;
        self->outcome_ = reply->outcome;
        return TRUE;
    }

    std::uint32_t id_;
    HWND hwnd_ = nullptr;
    std::optional<CommandOutcome> outcome_;
};

// The copy's answer to kAskReady; 0 when it is not ours or does not answer.
LRESULT Ask(HWND window) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, RunningCopyMessage(), kAskReady, 0, SMTO_ABORTIFHUNG, kAskTimeout, &answer)) return 0;
    return static_cast<LRESULT>(answer);
}

// Runs this thread's messages (the reply comes as a sent message) until the reply came, the copy
// is gone or the time is over.
void WaitForReply(const ReplyWindow& window, HWND copy, DWORD wait) {
    const ULONGLONG deadline = GetTickCount64() + wait;
    while (!window.Outcome() && IsWindow(copy)) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) break;
        const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 250));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}
}  // namespace

UINT RunningCopyMessage() {
    static const UINT message = RegisterWindowMessageW(L"HXT_GMouse.RunningCopy.1");
    return message;
}

HWND FindRunningCopy(DWORD wait, bool ready) {
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
        Sleep(200);
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

HandOverResult HandOver(HWND copy, const ProgramCommand& command, DWORD wait) {
    const auto id = static_cast<std::uint32_t>(GetCurrentProcessId());
    const ReplyWindow window(id);
    if (!window.Hwnd()) return {false, L"Cannot create a window for the running copy's answer."};
    const std::vector<std::uint8_t> bytes =
        EncodeRequest({id, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window.Hwnd())), command});
    COPYDATASTRUCT data{kRequestTag, static_cast<DWORD>(bytes.size()), const_cast<std::uint8_t*>(bytes.data())};
    DWORD_PTR taken = 0;
    // Not SMTO_BLOCK: an answer that comes at once is a message sent to this thread meanwhile.
    if (!SendMessageTimeoutW(copy, WM_COPYDATA, reinterpret_cast<WPARAM>(window.Hwnd()), reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, kHandOverTimeout, &taken)) {
        return {false, L"The running copy of the program does not respond."};
    }
    if (!taken) return {false, ToWide(OutcomeLine(command, CommandOutcome::Refused))};
    WaitForReply(window, copy, wait);
    if (!window.Outcome()) {
        return {false, IsWindow(copy) ? L"The running copy of the program did not answer within " +
                                            std::to_wstring(wait / 1000) + L" s."
                                      : L"The running copy of the program ended before it answered."};
    }
    return {*window.Outcome() == CommandOutcome::Done, ToWide(OutcomeLine(command, *window.Outcome()))};
}
