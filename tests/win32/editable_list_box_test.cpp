// The in-place line editor of the event list: what opens it, what each way of closing it does to
// the line and what the list's parent hears, and that Enter and Escape reach it inside a dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/editable_list_box_win32.h"
#include "win32/support.h"

namespace {
// The list's parent: records the list's notifications and the dialog's Enter and Escape commands.
struct Heard {
    int ended = 0;
    std::vector<std::pair<WPARAM, std::wstring>> changed;
    std::vector<WPARAM> commands;
};
Heard* g_heard = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (g_heard && message == kLineEditEndedMessage) ++g_heard->ended;
    if (g_heard && message == kLineChangedMessage) g_heard->changed.emplace_back(w, reinterpret_cast<const wchar_t*>(l));
    if (g_heard && message == WM_COMMAND && (w == IDOK || w == IDCANCEL)) g_heard->commands.push_back(w);
    return DefWindowProcW(hwnd, message, w, l);
}

struct EditableList : ::testing::Test {
    Heard heard;
    HWND parent = nullptr;
    HWND list = nullptr;
    CEditableListBox editable;

    void SetUp() override {
        g_heard = &heard;
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HxtEditableListParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 10, 10, 200, 100,
                               parent, nullptr, wc.hInstance, nullptr);
        for (int i = 0; i < 20; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"line " + std::to_wstring(i)).c_str()));
        SendMessageW(list, LB_SETCURSEL, 3, 0);
        ASSERT_TRUE(editable.Attach(list));
    }
    void TearDown() override {
        DestroyWindow(parent);
        g_heard = nullptr;
    }
    std::wstring Line(int i) const {
        wchar_t text[64] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND Open() {
        SendMessageW(list, WM_CHAR, kOpenLineEditorChar, 0);
        return GetDlgItem(list, kLineEditorId);
    }
};
}  // namespace

TEST_F(EditableList, OpensOnRequestAndKeepsOrDropsTheText) {
    SendMessageW(list, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetDlgItem(list, kLineEditorId), nullptr);

    HWND editor = Open();
    ASSERT_NE(editor, nullptr);
    RECT line{}, over{};
    SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&line));
    GetWindowRect(editor, &over);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&over), 2);
    EXPECT_LE(over.top, line.top);
    EXPECT_GE(over.bottom, line.bottom);
    DWORD from = 1, to = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 6u);  // "line 3"
    EXPECT_EQ(GetFocus(), editor);

    SetWindowTextW(editor, L"dropped");
    SendMessageW(editor, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(Line(3), L"line 3");
    EXPECT_GE(heard.ended, 1);
    EXPECT_TRUE(heard.changed.empty());

    SetWindowTextW(editor = Open(), L"kept");
    SendMessageW(editor, WM_KEYUP, VK_RETURN, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(Line(3), L"kept");
    EXPECT_EQ(Line(4), L"line 4");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 20);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    ASSERT_EQ(heard.changed.size(), 1u);
    EXPECT_EQ(heard.changed[0], (std::pair<WPARAM, std::wstring>{3, L"line 3"}));

    SendMessageW(Open(), WM_KEYUP, VK_RETURN, 0);  // unchanged text
    EXPECT_EQ(heard.changed.size(), 1u);

    SetWindowTextW(Open(), L"scrolled");
    SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Line(3), L"scrolled");

    // Leaving the editor keeps its text, once; the list going takes an open editor with it.
    SetWindowTextW(editor = Open(), L"left");
    SetFocus(parent);
    EXPECT_EQ(Line(3), L"left");
    EXPECT_EQ(heard.changed.size(), 3u);
    editor = Open();
    ASSERT_NE(editor, nullptr);
    DestroyWindow(list);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(editable.Editor(), nullptr);
}

TEST_F(EditableList, EnterAndEscapeTypedInADialogReachTheEditor) {
    SetForegroundWindow(parent);
    PumpUntil([&] { return GetForegroundWindow() == parent; }, 2000);
    const auto type = [&](WORD vk) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = vk;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    };
    // The loop of a dialog: IsDialogMessage first, as the main window's does.
    const auto pumpAsDialog = [&](const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < 3000) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (IsDialogMessageW(parent, &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(5);
        }
    };
    const HWND dropped = Open();
    SetWindowTextW(dropped, L"dropped");
    type(VK_ESCAPE);
    pumpAsDialog([&] { return !IsWindow(dropped); });
    EXPECT_EQ(Line(3), L"line 3");

    const HWND kept = Open();
    SetWindowTextW(kept, L"typed");
    type(VK_RETURN);
    pumpAsDialog([&] { return !IsWindow(kept); });
    EXPECT_EQ(Line(3), L"typed");
    EXPECT_TRUE(heard.commands.empty());  // neither IDOK nor IDCANCEL
}
