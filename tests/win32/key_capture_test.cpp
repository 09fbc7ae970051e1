// The recording's key capture: a key typed while it is installed comes to the window as the
// posted key message and never reaches the focused edit; removed, typing works again.
#include <gtest/gtest.h>

#include <vector>

#include "ui/key_capture_win32.h"
#include "win32/support.h"

namespace {
std::vector<WPARAM>* g_keyDowns = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN && g_keyDowns) g_keyDowns->push_back(w);
    return DefWindowProcW(hwnd, message, w, l);
}

void Type(WORD vk) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}
}  // namespace

TEST(KeyCapture, TakesTheKeysToTheWindowUntilRemoved) {
    std::vector<WPARAM> keyDowns;
    g_keyDowns = &keyDowns;
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HxtKeyCaptureTarget";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr,
                                        nullptr, wc.hInstance, nullptr);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 30, window, nullptr,
                                      wc.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(edit);
    {
        KeyCaptureWin32 capture([&] { return window; });
        ASSERT_TRUE(capture.Install());
        EXPECT_TRUE(capture.Install());
        Type('Q');
        EXPECT_TRUE(PumpUntil([&] { return !keyDowns.empty(); }));
        PumpUntil([] { return false; }, 100);  // time for the key to reach the edit, were it let through
        EXPECT_EQ(keyDowns, std::vector<WPARAM>{'Q'});
        EXPECT_EQ(GetWindowTextLengthW(edit), 0);
    }
    Type('W');  // the capture went with its owner
    EXPECT_TRUE(PumpUntil([&] { return GetWindowTextLengthW(edit) == 1; }));
    EXPECT_EQ(keyDowns.size(), 1u);
    DestroyWindow(window);
    g_keyDowns = nullptr;
}
