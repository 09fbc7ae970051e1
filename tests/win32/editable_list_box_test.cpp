// The in-place line editor: what opens it, what each way of closing it does to the line and what
// the list's parent hears, and that Enter and Escape typed inside a dialog reach it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/editable_list_box_win32.h"
#include "win32/support.h"

namespace {
struct Heard {
    int ended = 0;
    std::vector<std::pair<WPARAM, std::wstring>> changed;
    std::vector<WPARAM> dialogCommands;  // IDOK, IDCANCEL
} g_heard;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == kLineEditEndedMessage) ++g_heard.ended;
    if (message == kLineChangedMessage) g_heard.changed.emplace_back(w, reinterpret_cast<const wchar_t*>(l));
    if (message == WM_COMMAND && (w == IDOK || w == IDCANCEL)) g_heard.dialogCommands.push_back(w);
    return DefWindowProcW(hwnd, message, w, l);
}

struct EditableList : ::testing::Test {
    HWND parent = nullptr, list = nullptr;
    CEditableListBox editable;

    void SetUp() override {
        g_heard = {};
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = L"HxtEditableListParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, 0, 0, 0, 0);
        list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 10, 10, 200, 100,
                               parent, 0, 0, 0);
        for (int i = 0; i < 20; ++i) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"line " + std::to_wstring(i)).c_str()));
        }
        SendMessageW(list, LB_SETCURSEL, 3, 0);
        ASSERT_TRUE(editable.Attach(list));
    }
    void TearDown() override { DestroyWindow(parent); }
    std::wstring Line3() const {
        wchar_t text[64] = {};
        SendMessageW(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND Open(const wchar_t* text = nullptr) {
        SendMessageW(list, WM_CHAR, kOpenLineEditorChar, 0);
        const HWND editor = GetDlgItem(list, kLineEditorId);
        if (editor && text) SetWindowTextW(editor, text);
        return editor;
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
    EXPECT_TRUE(over.top <= line.top && over.bottom >= line.bottom) << over.top << " " << line.top;
    EXPECT_EQ(SendMessageW(editor, EM_GETSEL, 0, 0), MAKELRESULT(0, 6));  // all of "line 3"
    EXPECT_EQ(GetFocus(), editor);

    SetWindowTextW(editor, L"dropped");
    SendMessageW(editor, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(Line3(), L"line 3");
    EXPECT_EQ(g_heard.ended, 1);

    SendMessageW(Open(L"kept"), WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(Line3(), L"kept");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 20);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(g_heard.changed, (std::vector<std::pair<WPARAM, std::wstring>>{{3, L"line 3"}}));

    SendMessageW(Open(), WM_KEYUP, VK_RETURN, 0);  // unchanged: no line-changed
    Open(L"scrolled");
    SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Line3(), L"scrolled");
    // Leaving the editor keeps its text, once; the list going takes an open editor with it.
    Open(L"left");
    SetFocus(parent);
    EXPECT_EQ(Line3(), L"left");
    EXPECT_EQ(g_heard.changed.size(), 3u);
    editor = Open();
    DestroyWindow(list);
    EXPECT_FALSE(IsWindow(editor));
}

TEST_F(EditableList, EnterAndEscapeTypedInADialogReachTheEditor) {
    SetForegroundWindow(parent);
    const auto typeInDialog = [&](WORD vk, HWND editor) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = vk;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        for (DWORD start = GetTickCount(); IsWindow(editor) && GetTickCount() - start < 3000; Sleep(5)) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (IsDialogMessageW(parent, &msg)) continue;  // as the main window's loop does
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    };
    typeInDialog(VK_ESCAPE, Open(L"dropped"));
    EXPECT_EQ(Line3(), L"line 3");
    typeInDialog(VK_RETURN, Open(L"typed"));
    EXPECT_EQ(Line3(), L"typed");
    EXPECT_TRUE(g_heard.dialogCommands.empty());
}
