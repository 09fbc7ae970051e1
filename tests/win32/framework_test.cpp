// The window framework: message table dispatch, default processing, the modal loop and its
// pre-translation hook, and the application object.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/window_framework_win32.h"
#include "resource.h"
#include "win32/support.h"

namespace {
constexpr UINT kFirstCommand = 40001;
constexpr UINT kSecondCommand = 40002;
constexpr UINT kOtherCommand = 40003;
constexpr UINT kDoubleMessage = WM_APP + 1;  // returns 2 * wParam
constexpr UINT kThrowMessage = WM_APP + 2;
constexpr UINT kSwallowedMessage = WM_APP + 3;
constexpr UINT kEndMessage = WM_APP + 4;

class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(HWND owner = nullptr) : Dialog(IDD_POPUP_PAGE1), owner_(owner) {
        MessageTable& m = Messages();
        m.On<WM_INITDIALOG>(this, &ProbeDialog::OnInitDialog);
        m.On<WM_SYSCOMMAND>(this, &ProbeDialog::OnSysCommand);
        m.OnCommand({kFirstCommand, kSecondCommand}, this, &ProbeDialog::OnPair);
        m.Set(kDoubleMessage, [](WPARAM w, LPARAM) -> std::optional<LRESULT> { return 2 * w; });
        m.Set(kThrowMessage, [](WPARAM, LPARAM) -> std::optional<LRESULT> { throw std::runtime_error("bad"); });
        m.Set(kSwallowedMessage, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
            swallowedReachedHandler = true;
            return 0;
        });
        m.Set(kEndMessage, [this](WPARAM w, LPARAM) -> std::optional<LRESULT> {
            ownerEnabledWhileModal = owner_ && IsWindowEnabled(owner_);
            EndModal(static_cast<INT_PTR>(w));
            return 0;
        });
    }

    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message != kSwallowedMessage) return false;
        swallowedByHook = true;
        return true;
    }

    std::vector<CommandEvent> commands;
    std::vector<UINT> sysCommands;
    bool postOnInit = false;
    bool endInInit = false;
    bool swallowedByHook = false;
    bool swallowedReachedHandler = false;
    bool ownerEnabledWhileModal = true;

private:
    BOOL OnInitDialog() {
        if (endInInit) EndModal(9);
        if (postOnInit) {
            PostMessageW(Hwnd(), kSwallowedMessage, 0, 0);
            PostMessageW(Hwnd(), kEndMessage, 7, 0);
        }
        return TRUE;
    }
    bool OnSysCommand(UINT command, LPARAM) {
        sysCommands.push_back(command);
        return false;
    }
    void OnPair(const CommandEvent& e) { commands.push_back(e); }

    HWND owner_;
};

LRESULT Send(HWND hwnd, UINT message, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(hwnd, message, w, l); }
}  // namespace

TEST(MessageTable, RoutesMessagesAndCommandsAndLeavesTheRestToDefaultProcessing) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND hwnd = dialog.Hwnd();

    // Two ids share one handler, which learns which id and code it got; other ids do not reach it.
    Send(hwnd, WM_COMMAND, MAKEWPARAM(kFirstCommand, 0));
    Send(hwnd, WM_COMMAND, MAKEWPARAM(kSecondCommand, EN_CHANGE));
    Send(hwnd, WM_COMMAND, MAKEWPARAM(kOtherCommand, 0));
    ASSERT_EQ(dialog.commands.size(), 2u);
    EXPECT_EQ(dialog.commands[0].id, kFirstCommand);
    EXPECT_EQ(dialog.commands[1].id, kSecondCommand);
    EXPECT_EQ(dialog.commands[1].code, static_cast<UINT>(EN_CHANGE));

    // A handler's result reaches the sender.
    EXPECT_EQ(Send(hwnd, kDoubleMessage, 21), 42);

    // A throwing handler neither crashes nor stops the window.
    Send(hwnd, kThrowMessage);
    EXPECT_TRUE(IsWindow(hwnd));

    // A message without a handler gets the system's processing.
    SetWindowTextW(hwnd, L"renamed");
    wchar_t text[32] = {};
    GetWindowTextW(hwnd, text, 32);
    EXPECT_STREQ(text, L"renamed");

    // A typed handler that declines (SC_CLOSE) falls through to default processing, which
    // closes the dialog through WM_CLOSE and IDCANCEL, handled by the base class.
    Send(hwnd, WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(dialog.sysCommands, std::vector<UINT>{SC_CLOSE});
    EXPECT_TRUE(PumpUntil([&] { return dialog.Hwnd() == nullptr; }));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(ModalDialog, RunsOwnLoopThroughTheHookAndEndsWhenTheWindowGoes) {
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create());

    ProbeDialog dialog(owner.Hwnd());
    dialog.postOnInit = true;
    EXPECT_EQ(dialog.DoModal(owner.Hwnd()), 7);
    EXPECT_TRUE(dialog.swallowedByHook);
    EXPECT_FALSE(dialog.swallowedReachedHandler);
    EXPECT_EQ(dialog.Hwnd(), nullptr);
    EXPECT_FALSE(dialog.ownerEnabledWhileModal);
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));

    // A dialog that ends while it initialises never runs a loop.
    ProbeDialog early;
    early.endInInit = true;
    EXPECT_EQ(early.DoModal(), 9);
    EXPECT_EQ(early.Hwnd(), nullptr);

    // The same object can run again.
    dialog.postOnInit = true;
    dialog.swallowedByHook = false;
    EXPECT_EQ(dialog.DoModal(owner.Hwnd()), 7);
    EXPECT_TRUE(dialog.swallowedByHook);
}

namespace {
class ProbeApp : public Application {
public:
    bool keepRunning = false;
    bool initialised = false;

protected:
    bool InitInstance() override {
        initialised = true;
        if (keepRunning) PostQuitMessage(5);
        return keepRunning;
    }
};
}  // namespace

TEST(Application, ExitCodeComesFromTheQuitMessageOrExitInstance) {
    ProbeApp once;
    EXPECT_EQ(once.Run(GetModuleHandleW(nullptr)), 0);
    EXPECT_TRUE(once.initialised);
    EXPECT_EQ(once.Instance(), GetModuleHandleW(nullptr));

    ProbeApp looping;
    looping.keepRunning = true;
    EXPECT_EQ(looping.Run(GetModuleHandleW(nullptr)), 5);
}
