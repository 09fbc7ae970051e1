// The window framework: message table dispatch, typed handlers, default processing, the modal
// loop and its pre-translation hook, subclassed controls and the application object.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>  // after <windows.h>

#include <string>
#include <vector>

#include "platform/subclassed_control_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"
#include "win32/support.h"

namespace {
constexpr UINT kFirstCommand = 40001;
constexpr UINT kSecondCommand = 40002;
constexpr UINT kOtherCommand = 40003;
constexpr UINT kDoubleMessage = WM_APP + 1;  // returns 2 * wParam
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
// Keeps what its typed handlers were given.
class TypedProbe : public Dialog {
public:
    TypedProbe() : Dialog(IDD_POPUP_PAGE1) {
        MessageTable& m = Messages();
        m.On<WM_TIMER>(this, &TypedProbe::OnTimer);
        m.On<WM_KEYDOWN>(this, &TypedProbe::OnKeyDown);
        m.On<WM_RBUTTONUP>(this, &TypedProbe::OnRButtonUp);
        m.On<WM_LBUTTONUP>(this, &TypedProbe::OnLButtonUp);
        m.On<WM_CONTEXTMENU>(this, &TypedProbe::OnContextMenu);
        m.On<WM_MEASUREITEM>(this, &TypedProbe::OnMeasureItem);
        m.On<WM_DEVICECHANGE>(this, &TypedProbe::OnDeviceChange);
    }

    UINT_PTR timer = 0;
    UINT key = 0, repeat = 0, keyFlags = 0;
    UINT mouseFlags = 0;
    POINT rightUp{}, leftUp{}, menuAt{};
    HWND menuWindow = nullptr;
    UINT measuredItem = 0;

private:
    void OnTimer(UINT_PTR id) { timer = id; }
    bool OnKeyDown(UINT vk, UINT count, UINT flags) {
        key = vk;
        repeat = count;
        keyFlags = flags;
        return true;
    }
    void OnRButtonUp(UINT flags, POINT point) {
        mouseFlags = flags;
        rightUp = point;
    }
    void OnLButtonUp(POINT point) { leftUp = point; }
    void OnContextMenu(HWND window, POINT screen) {
        menuWindow = window;
        menuAt = screen;
    }
    void OnMeasureItem(UINT, MEASUREITEMSTRUCT& item) {
        measuredItem = item.itemID;
        item.itemHeight = 30;
    }
    BOOL OnDeviceChange(UINT event, LPARAM) { return event == DBT_DEVICEQUERYREMOVE ? BROADCAST_QUERY_DENY : TRUE; }
};
}  // namespace

TEST(MessageTable, TypedHandlersGetTheDecodedArgumentsAndAnswerTheSender) {
    TypedProbe dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND hwnd = dialog.Hwnd();

    Send(hwnd, WM_TIMER, 0x4858);
    EXPECT_EQ(dialog.timer, 0x4858u);
    Send(hwnd, WM_KEYDOWN, VK_DELETE, MAKELPARAM(3, KF_REPEAT | KF_EXTENDED | 0x53));
    EXPECT_EQ(dialog.key, static_cast<UINT>(VK_DELETE));
    EXPECT_EQ(dialog.repeat, 3u);
    EXPECT_EQ(dialog.keyFlags & (KF_REPEAT | KF_EXTENDED), static_cast<UINT>(KF_REPEAT | KF_EXTENDED));

    // Mouse points are signed; the MK flags reach the handlers that ask for them.
    Send(hwnd, WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, MAKELPARAM(-5, 7));
    EXPECT_EQ(dialog.mouseFlags, static_cast<UINT>(MK_SHIFT | MK_CONTROL));
    EXPECT_EQ(dialog.rightUp.x, -5);
    EXPECT_EQ(dialog.rightUp.y, 7);
    Send(hwnd, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(3, -2));
    EXPECT_EQ(dialog.leftUp.y, -2);
    Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(-1, -1));
    EXPECT_EQ(dialog.menuWindow, hwnd);
    EXPECT_EQ(dialog.menuAt.x, -1);

    // What a handler writes into the sender's record, and what it answers, reach the sender.
    MEASUREITEMSTRUCT item{ODT_MENU, 0, 7, 0, 0, 0};
    EXPECT_EQ(Send(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(dialog.measuredItem, 7u);
    EXPECT_EQ(item.itemHeight, 30u);
    EXPECT_EQ(Send(hwnd, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE), BROADCAST_QUERY_DENY);
}

namespace {
// An edit control whose table swallows one text, changes another and records keys and focus.
class ProbeEdit : public SubclassedControl {
public:
    ProbeEdit() {
        Messages().On<WM_KEYDOWN>(this, &ProbeEdit::OnKeyDown);
        Messages().On<WM_KILLFOCUS>(this, &ProbeEdit::OnKillFocus);
        Messages().Set(WM_SETTEXT, [this](WPARAM w, LPARAM l) -> std::optional<LRESULT> {
            const std::wstring text = reinterpret_cast<const wchar_t*>(l);
            if (text == L"blocked") return TRUE;
            if (text == L"shout") return DefaultProcessing(WM_SETTEXT, w, reinterpret_cast<LPARAM>(L"SHOUT"));
            return std::nullopt;
        });
    }
    std::vector<UINT> keys;
    HWND focusTo = nullptr;

private:
    bool OnKeyDown(UINT vk, UINT, UINT) {
        keys.push_back(vk);
        return vk == VK_RETURN;
    }
    void OnKillFocus(HWND next) { focusTo = next; }
};

HWND CreateEdit() {
    return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[32] = {};
    GetWindowTextW(hwnd, text, 32);
    return text;
}
}  // namespace

TEST(SubclassedControl, SeesTheControlsMessagesFirstAndLetsGoCleanly) {
    const HWND edit = CreateEdit();
    ASSERT_NE(edit, nullptr);
    {
        ProbeEdit probe;
        ASSERT_TRUE(probe.Attach(edit));
        EXPECT_FALSE(probe.Attach(edit));  // one control per object

        SetWindowTextW(edit, L"plain");
        EXPECT_EQ(TextOf(edit), L"plain");  // not handled: the control's own procedure
        SetWindowTextW(edit, L"blocked");
        EXPECT_EQ(TextOf(edit), L"plain");
        SetWindowTextW(edit, L"shout");
        EXPECT_EQ(TextOf(edit), L"SHOUT");
        Send(edit, WM_KEYDOWN, VK_RETURN, 1);
        Send(edit, WM_KILLFOCUS, reinterpret_cast<WPARAM>(edit));
        EXPECT_EQ(probe.keys, std::vector<UINT>{VK_RETURN});
        EXPECT_EQ(probe.focusTo, edit);

        probe.Detach();
        SetWindowTextW(edit, L"blocked");
        EXPECT_EQ(TextOf(edit), L"blocked");
        Send(edit, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_EQ(probe.keys.size(), 1u);

        ASSERT_TRUE(probe.Attach(edit));
    }
    // The object went while attached: the control goes on without it.
    SetWindowTextW(edit, L"shout");
    EXPECT_EQ(TextOf(edit), L"shout");

    // A control destroyed while subclassed takes the subclass with it; the object is free again.
    ProbeEdit probe;
    const HWND doomed = CreateEdit();
    ASSERT_TRUE(probe.Attach(doomed));
    DestroyWindow(doomed);
    EXPECT_EQ(probe.Hwnd(), nullptr);
    EXPECT_TRUE(probe.Attach(edit));
    probe.Detach();
    DestroyWindow(edit);
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
