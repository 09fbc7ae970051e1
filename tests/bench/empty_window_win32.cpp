// The floor of the start-up and memory benchmarks: the smallest Win32 program that shows a window
// of the main window's size. Given HXT_FIRST_PAINT_LOG, it appends the time from its process
// start to the end of its first paint to that file, in the program's words, and then ends;
// without it, it stays until closed.
#include <windows.h>

#include <cstdio>

namespace {

// False without a log to write to.
bool LogFirstPaint() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"HXT_FIRST_PAINT_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return true;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    if (FILE* log = _wfopen(path, L"a")) {
        std::fprintf(log, "first paint %.1f ms after process start\n",
                     static_cast<double>(ticks(now) - ticks(created)) / 10000.0);
        std::fclose(log);
    }
    return true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(window, &paint);
        static bool logged = false;
        if (!logged) {
            logged = true;
            if (LogFirstPaint()) PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = L"HxtEmptyWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"HXT empty window", WS_POPUP | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 760, 560, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
