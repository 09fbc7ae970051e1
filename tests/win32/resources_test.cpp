// The other resources: the About string and box, the main window's template, the icon and the
// manifest, checked as the running program would load them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/window_framework_win32.h"
#include "resource.h"

namespace {
INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND CreatePassiveDialog(UINT id) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, PassiveProc, 0);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

// The raw bytes of a resource; empty when it is missing.
std::string ResourceBytes(UINT id, LPCWSTR type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    const void* data = LockResource(LoadResource(module, found));
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

template <class T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

}  // namespace

TEST(Resources, AboutStringAndBox) {
    EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), L"&About HXT_GMouse...");
    EXPECT_EQ(LoadResourceString(4242), L"");

    const HWND about = CreatePassiveDialog(IDD_ABOUTBOX);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(about), L"About HXT_GMouse");
    std::vector<std::wstring> texts;
    int icons = 0;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icons += SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else {
            texts.push_back(TextOf(child));
        }
    }
    EXPECT_EQ(icons, 1);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"HXT_GMouse Version 1.0",
                                                 L"Settings and host actions for your gaming mouse", L"OK"}));
    EXPECT_EQ(TextOf(GetDlgItem(about, IDOK)), L"OK");
    DestroyWindow(about);
}

TEST(Resources, MainWindowTemplateAndCreatedSize) {
    // The window made from the template, as the user gets it: a bare popup of the layout's size.
    const HWND main = CreatePassiveDialog(IDD_HXT_GMOUSE_DIALOG);
    ASSERT_NE(main, nullptr);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_SYSMENU), WS_POPUP | WS_VISIBLE | WS_SYSMENU);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    RECT expected{0, 0, 533, 395};
    MapDialogRect(main, &expected);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_GT(client.right, 533);  // dialog units really were converted
    DestroyWindow(main);
}

TEST(Resources, IconHasEveryDrawnSize) {
    // The group directory lists 16, 32, 48 and 256 (stored as 0) pixel images.
    const std::string group = ResourceBytes(IDR_MAINFRAME, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    std::set<int> sizes;
    for (int i = 0; i < At<WORD>(group, 4); ++i) {
        const int width = static_cast<unsigned char>(group[6 + 14 * i]);
        sizes.insert(width == 0 ? 256 : width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));

    for (int size : {16, 32, 256}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        // A mouse on a transparent ground: some pixels drawn, the corners left clear.
        if (info.hbmColor) {
            std::vector<DWORD> pixels(size * size);
            BITMAPINFO bi{};
            bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            HDC screen = GetDC(nullptr);
            GetDIBits(screen, info.hbmColor, 0, size, pixels.data(), &bi, DIB_RGB_COLORS);
            ReleaseDC(nullptr, screen);
            int opaque = 0;
            for (DWORD p : pixels) opaque += (p >> 24) > 128;
            EXPECT_GT(opaque, size * size / 3) << size;
            EXPECT_EQ(pixels[0] >> 24, 0u) << size;
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, ManifestAsksForElevationVisualStylesDpiAwarenessAndLongPaths) {
    const std::string manifest = ResourceBytes(1, RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    for (const char* wanted : {"level=\"requireAdministrator\"", "name=\"Microsoft.Windows.Common-Controls\"",
                               "version=\"6.0.0.0\"", ">true</dpiAware>", ">PerMonitorV2</dpiAwareness>",
                               ">true</longPathAware>"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
}
