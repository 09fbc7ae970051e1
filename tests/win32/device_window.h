// A plain window that records the WM_DEVICECHANGE messages it receives and can hand them to the
// mouse side as the main window does; and reading a whole file.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/device_session_win32.h"
#include "device/device_broadcast_win32.h"

// A window that records the WM_DEVICECHANGE messages it receives.
struct DeviceChangeRecord {
    WPARAM event = 0;
    std::optional<ChangedInterface> changed;
};
inline std::vector<DeviceChangeRecord>* g_deviceChanges = nullptr;
// The mouse side the window serves, when a test gives it one.
struct WindowMouse {
    DeviceSession* session = nullptr;
    DeviceLink* link = nullptr;
};
inline WindowMouse g_windowMouse;
inline bool g_windowDestroyed = false;

inline LRESULT CALLBACK DeviceWindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DEVICECHANGE) {
        if (g_deviceChanges) g_deviceChanges->push_back({w, BroadcastInterfaceOf(l)});
        // As the main window: the mouse's removal ends it.
        if (g_windowMouse.session &&
            g_windowMouse.session->OnDeviceChange(*g_windowMouse.link, w, l) == DeviceChangeOutcome::MouseRemoved) {
            g_windowDestroyed = true;
            DestroyWindow(hwnd);
        }
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, w, l);
}

struct DeviceWindow : ::testing::Test {
    HWND hwnd = nullptr;
    std::vector<DeviceChangeRecord> changes;

    void SetUp() override {
        g_deviceChanges = &changes;
        g_windowDestroyed = false;
        WNDCLASSW wc{};
        wc.lpfnWndProc = DeviceWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HxtDeviceChangeTarget";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"device target", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        g_deviceChanges = nullptr;
        g_windowMouse = {};
    }
};


inline std::string ReadFileText(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

