// A window for end-to-end tests that writes down the keyboard and mouse-button messages it is
// given, so a test can see what the program injected: one line per message, written through at
// once, so a script polling the file sees each event as it arrives.
//
// Usage: key_logger.exe LOGFILE [X Y WIDTH HEIGHT]
//
// Lines (numbers in upper-case hex for keys, decimal for positions):
//   READY hwnd=<handle>                  the window exists and is shown
//   KEYDOWN vk=41 scan=1E ext=0 prev=0   also KEYUP, SYSKEYDOWN, SYSKEYUP; prev is lParam bit 30
//   LBUTTONDOWN x=10 y=20                also *UP and *DBLCLK of L, R and M
//   SETFOCUS / KILLFOCUS                 where keyboard input went, for diagnosing a failure
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"HxtKeyLoggerWindow";
constexpr wchar_t kTitle[] = L"HXT key logger";

HANDLE logFile = INVALID_HANDLE_VALUE;

void WriteLine(const char* line) {
    std::string text(line);
    text += "\n";
    DWORD written = 0;
    WriteFile(logFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FlushFileBuffers(logFile);
}

void LogKey(const char* name, WPARAM wParam, LPARAM lParam) {
    char line[96];
    const auto bits = static_cast<unsigned long>(lParam);
    std::snprintf(line, sizeof line, "%s vk=%02X scan=%02X ext=%lu prev=%lu", name,
                  static_cast<unsigned>(wParam & 0xFF), static_cast<unsigned>((bits >> 16) & 0xFF),
                  (bits >> 24) & 1UL, (bits >> 30) & 1UL);
    WriteLine(line);
}

void LogButton(const char* name, LPARAM lParam) {
    char line[64];
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    std::snprintf(line, sizeof line, "%s x=%d y=%d", name, x, y);
    WriteLine(line);
}

const char* ButtonMessageName(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: return "LBUTTONDOWN";
        case WM_LBUTTONUP: return "LBUTTONUP";
        case WM_LBUTTONDBLCLK: return "LBUTTONDBLCLK";
        case WM_RBUTTONDOWN: return "RBUTTONDOWN";
        case WM_RBUTTONUP: return "RBUTTONUP";
        case WM_RBUTTONDBLCLK: return "RBUTTONDBLCLK";
        case WM_MBUTTONDOWN: return "MBUTTONDOWN";
        case WM_MBUTTONUP: return "MBUTTONUP";
        case WM_MBUTTONDBLCLK: return "MBUTTONDBLCLK";
        default: return nullptr;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN: LogKey("KEYDOWN", wParam, lParam); return 0;
        case WM_KEYUP: LogKey("KEYUP", wParam, lParam); return 0;
        // Not passed on: Alt alone would put the window into menu mode and Alt+F4 would close it,
        // and either would hide the keys that follow from the log.
        case WM_SYSKEYDOWN: LogKey("SYSKEYDOWN", wParam, lParam); return 0;
        case WM_SYSKEYUP: LogKey("SYSKEYUP", wParam, lParam); return 0;
        case WM_SETFOCUS: WriteLine("SETFOCUS"); return 0;
        case WM_KILLFOCUS: WriteLine("KILLFOCUS"); return 0;
        case WM_MOUSEACTIVATE: return MA_ACTIVATE;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    if (const char* name = ButtonMessageName(message)) {
        LogButton(name, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int ArgumentOr(int argc, wchar_t** argv, int index, int fallback) {
    return index < argc ? _wtoi(argv[index]) : fallback;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        MessageBoxW(nullptr, L"Usage: key_logger.exe LOGFILE [X Y WIDTH HEIGHT]", kTitle, MB_OK);
        return 2;
    }
    logFile = CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE) return 3;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) return 4;

    const int x = ArgumentOr(argc, argv, 2, 20);
    const int y = ArgumentOr(argc, argv, 3, 20);
    const int width = ArgumentOr(argc, argv, 4, 360);
    const int height = ArgumentOr(argc, argv, 5, 240);
    LocalFree(argv);

    HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 5;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
    char ready[64];
    std::snprintf(ready, sizeof ready, "READY hwnd=%p", static_cast<void*>(window));
    WriteLine(ready);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // No TranslateMessage: WM_CHAR lines are not wanted, only the key messages themselves.
        DispatchMessageW(&msg);
    }
    CloseHandle(logFile);
    return 0;
}
