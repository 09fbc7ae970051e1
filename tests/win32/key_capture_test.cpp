// The recording's key capture: a key typed while it is installed comes to the window as a posted
// key message and never reaches the focused edit; gone with its owner, typing works again.
#include <gtest/gtest.h>

#include "ui/key_capture_win32.h"
#include "win32/support.h"

TEST(KeyCapture, TakesTheKeysToTheWindowUntilGone) {
    static WPARAM posted = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_KEYDOWN) posted = w;
        return DefWindowProcW(hwnd, message, w, l);
    };
    wc.lpszClassName = L"HxtKeyCaptureTarget";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, 0, 0, 0, 0);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 30, window, 0, 0, 0);
    SetForegroundWindow(window);
    SetFocus(edit);
    const auto type = [](WORD vk) {
        INPUT input[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
        input[0].ki.wVk = input[1].ki.wVk = vk;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        PumpUntil([] { return false; }, 300);
    };
    {
        KeyCaptureWin32 capture;
        capture.SetWindow(window);
        ASSERT_TRUE(capture.Install());
        type('Q');
        EXPECT_EQ(posted, WPARAM{'Q'});
        EXPECT_EQ(GetWindowTextLengthW(edit), 0);
    }
    type('W');
    EXPECT_EQ(GetWindowTextLengthW(edit), 1);
    EXPECT_EQ(posted, WPARAM{'Q'});
    DestroyWindow(window);
}
