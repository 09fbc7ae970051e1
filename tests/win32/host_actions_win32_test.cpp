// The Windows ports of the host actions: injected input arriving in a real window, programs of
// the system directory, and the sleeper's accuracy during macro playback.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdio>
#include <stop_token>
#include <thread>
#include <vector>

#include "actions/host_actions.h"
#include "support/no_window.h"
#include "support/macro_timing.h"
#include "support/recording_injector.h"
#include "support/recording_messages.h"
#include "support/recording_shell.h"
#include "platform/clock_win32.h"
#include "macros/macro_file.h"
#include "platform/input_injector_win32.h"
#include "platform/profile_win32.h"
#include "platform/shell_win32.h"

namespace {

struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Message>* g_received = nullptr;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP:
            if (g_received) g_received->push_back({msg, wParam, lParam});
            return 0;
        default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void Pump(DWORD ms, const std::function<bool()>& done = nullptr) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done && done()) return;
        Sleep(5);
    }
}

// A focused top-level window that records the input it receives.
struct TargetWindow : ::testing::Test {
    HWND hwnd = nullptr;
    std::vector<Message> received;

    void SetUp() override {
        g_received = &received;
        WNDCLASSW wc{};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HxtInjectTarget";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(WS_EX_TOPMOST, L"HxtInjectTarget", L"inject target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd, nullptr);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        Pump(2000, [&] { return GetForegroundWindow() == hwnd; });
        ASSERT_EQ(GetForegroundWindow(), hwnd);
        RECT rc;
        GetClientRect(hwnd, &rc);
        POINT centre{(rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2};
        ClientToScreen(hwnd, &centre);
        SetCursorPos(centre.x, centre.y);
        Pump(100);
        received.clear();
    }
    void TearDown() override {
        DestroyWindow(hwnd);
        g_received = nullptr;
    }
    void WaitFor(std::size_t count) {
        Pump(3000, [&] { return received.size() >= count; });
        Pump(50);
    }
};

unsigned ScanOf(LPARAM lParam) { return static_cast<unsigned>((lParam >> 16) & 0xFF); }
bool Extended(LPARAM lParam) { return (lParam >> 24) & 1; }
bool Transition(LPARAM lParam) { return (static_cast<unsigned long long>(lParam) >> 31) & 1; }

TEST_F(TargetWindow, InjectedKeysAndButtonsArriveWithTheirCodes) {
    SendInputInjector injector;
    const std::uint8_t scanA = static_cast<std::uint8_t>(injector.ScanCodeOf('A'));
    EXPECT_EQ(scanA, 0x1E);  // the US layout's scan code of A
    const std::uint8_t scanDelete = static_cast<std::uint8_t>(injector.ScanCodeOf(VK_DELETE));
    injector.KeyEvent('A', scanA, 0);
    injector.KeyEvent('A', scanA, kKeyUp);
    injector.KeyEvent(VK_DELETE, scanDelete, kKeyExtended);
    injector.KeyEvent(VK_DELETE, scanDelete, kKeyExtended | kKeyUp);
    injector.MouseButton(MouseButtonEvent::LeftDown);
    injector.MouseButton(MouseButtonEvent::LeftUp);
    injector.MouseButton(MouseButtonEvent::RightDown);
    injector.MouseButton(MouseButtonEvent::RightUp);
    WaitFor(8);
    ASSERT_EQ(received.size(), 8u);

    EXPECT_EQ(received[0].msg, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(received[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(ScanOf(received[0].lParam), scanA);
    EXPECT_FALSE(Extended(received[0].lParam));
    EXPECT_FALSE(Transition(received[0].lParam));
    EXPECT_EQ(received[1].msg, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(received[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_TRUE(Transition(received[1].lParam));

    EXPECT_EQ(received[2].msg, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(received[2].wParam, static_cast<WPARAM>(VK_DELETE));
    EXPECT_EQ(ScanOf(received[2].lParam), scanDelete);
    EXPECT_TRUE(Extended(received[2].lParam));
    EXPECT_EQ(received[3].msg, static_cast<UINT>(WM_KEYUP));
    EXPECT_TRUE(Extended(received[3].lParam));

    EXPECT_EQ(received[4].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(received[5].msg, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(received[6].msg, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(received[7].msg, static_cast<UINT>(WM_RBUTTONUP));
}

TEST_F(TargetWindow, APlayedMacroTypesIntoTheFocusedWindow) {
    PublishedConfig published;
    PressHandoff handoff;
    MacroStore macros;
    SendInputInjector injector;
    RecordingShell shell;
    PreciseSleeper sleeper;
    NoWindow window;
    HostActions actions(published, handoff, macros, injector, shell, sleeper, window);
    macros.Edit([](MacroStoreData& d) {
        MacroRecord m = NewMacro(u"hi");
        m.eventCount = 6;
        m.events[0] = {'H', kActionPress, 5};
        m.events[1] = {'H', kActionRelease, 5};
        m.events[2] = {VK_RIGHT, kActionPress, 5};
        m.events[3] = {VK_RIGHT, kActionRelease, 5};
        m.events[4] = {kMiddleButtonKey, kActionPress, 5};
        m.events[5] = {kMiddleButtonKey, kActionRelease, 0};
        d.records[0] = m;
        d.count = 1;
    });
    ConfigSnapshot firstMacroOnButton1;
    firstMacroOnButton1.config.K[0] = 41;
    published.Publish(firstMacroOnButton1);
    actions.PerformButton(1);
    WaitFor(6);
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[0].wParam, static_cast<WPARAM>('H'));
    EXPECT_EQ(ScanOf(received[0].lParam), MapVirtualKeyW('H', MAPVK_VK_TO_VSC));
    EXPECT_EQ(received[2].wParam, static_cast<WPARAM>(VK_RIGHT));
    EXPECT_TRUE(Extended(received[2].lParam));
    EXPECT_EQ(received[3].msg, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(received[4].msg, static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(received[5].msg, static_cast<UINT>(WM_MBUTTONUP));
    EXPECT_EQ(shell.calls, 0);
}

TEST(SystemProgramTest, ProgramsComeFromTheSystemDirectoryOnly) {
    wchar_t dir[MAX_PATH];
    const UINT length = GetSystemDirectoryW(dir, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring system(dir, length);
    EXPECT_EQ(SystemProgramPath(L"cmd.exe"), system + L"\\cmd.exe");
    EXPECT_EQ(SystemProgramPath(L"CALC.EXE"), system + L"\\CALC.EXE");
    for (const wchar_t* bad : {L"", L".exe", L"..\\cmd.exe", L"C:cmd.exe", L"sub\\cmd.exe", L"a/cmd.exe",
                               L"cmd.bat", L"cmd", L"cmd.exe:stream", L"\"cmd.exe\""}) {
        EXPECT_TRUE(SystemProgramPath(bad).empty()) << static_cast<int>(wcslen(bad));
    }
    EXPECT_EQ(GetFileAttributesW(SystemProgramPath(L"cmd.exe").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // A program of that name in the current directory is never the one started.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring previous = [] {
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        return std::wstring(cwd);
    }();
    const std::wstring decoyDir = std::wstring(temp) + L"hxt_decoy";
    CreateDirectoryW(decoyDir.c_str(), nullptr);
    const std::wstring decoy = decoyDir + L"\\cmd.exe";
    HANDLE file = CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a program", 13, &written, nullptr);
    CloseHandle(file);
    SetCurrentDirectoryW(decoyDir.c_str());

    OwnedHandle process = LaunchSystemProgram(L"cmd.exe", L"/c exit 7", SW_HIDE);
    SetCurrentDirectoryW(previous.c_str());
    DeleteFileW(decoy.c_str());
    RemoveDirectoryW(decoyDir.c_str());
    ASSERT_TRUE(process);
    ASSERT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 7u);
    EXPECT_FALSE(LaunchSystemProgram(L"..\\cmd.exe", L"", SW_HIDE));
}

// Milliseconds of the performance counter, the clock the sleeper itself waits on.
double PerformanceCounterMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How close to the delays it lands is macro_timing_bench's figure; no delay may end early.
TEST(PreciseSleeperTest, NoMacroDelayEndsEarly) {
    // 200 events with delays of 1 to 20 ms, played through the real playback.
    PublishedConfig published;
    PressHandoff handoff;
    MacroStore macros;
    const MacroRecord m = StoreTimingMacro(macros);
    RecordingInjector injector(PerformanceCounterMs);
    RecordingShell shell;
    PreciseSleeper sleeper;
    NoWindow window;
    // The executor thread runs at the highest priority.
    const int priority = GetThreadPriority(GetCurrentThread());
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    HostActions(published, handoff, macros, injector, shell, sleeper, window).PlayMacro(0);
    SetThreadPriority(GetCurrentThread(), priority);
    EXPECT_EQ(shell.calls, 0);
    ASSERT_EQ(injector.stamps.size(), 200u);

    std::vector<double> errors = DelayErrorsMs(m, injector.stamps);
    ASSERT_EQ(errors.size(), 199u);
    EXPECT_GT(*std::min_element(errors.begin(), errors.end()), -0.05);
}

// A stop from another thread ends a minute's wait at once; the next wait, with no stop, is whole.
TEST(PreciseSleeperTest, AStopEndsTheWaitAndOnlyThatWait) {
    PreciseSleeper sleeper;
    std::stop_source stop;
    std::thread stopper([&] {
        Sleep(100);
        stop.request_stop();
    });
    double start = PerformanceCounterMs();
    EXPECT_FALSE(sleeper.WaitMs(60000, stop.get_token()));
    EXPECT_LT(PerformanceCounterMs() - start, 30000.0);  // not the minute: however busy the machine
    stopper.join();
    EXPECT_FALSE(sleeper.WaitMs(5, stop.get_token()));

    std::stop_source fresh;
    start = PerformanceCounterMs();
    EXPECT_TRUE(sleeper.WaitMs(30, fresh.get_token()));
    EXPECT_GE(PerformanceCounterMs() - start, 30.0);
}

// The delivered macro files through the system's own profile functions, and a save over them
// read back the same way.
TEST(MacroFileWin32Test, ProfileFunctionsReadAndWriteTheMacroFile) {
    RecordingMessages messages;
    Win32Profile profile;
    const std::string source = HXT_SOURCE_DIR "/data/Macro_EN.dat";
    // The source tree is reached through Wine's Z: drive.
    std::u16string path = u"Z:";
    for (char c : source) path.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));
    MacroStore store;
    LoadMacroFile(profile, messages, store, path);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(store.Count(), 7);
    EXPECT_EQ(store.Snapshot(0)->Name(), u"Copy+Paste");
    EXPECT_EQ(store.Snapshot(0)->eventCount, 8);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copyW = std::wstring(temp) + L"hxt_macro_test.dat";
    const std::u16string copy(copyW.begin(), copyW.end());
    DeleteFileW(copyW.c_str());
    store.Edit([](MacroStoreData& d) {
        d.records[1].SetName(u"全选复制ABCDEFGHIJKLMNOP");
        d.records[1].events[200] = {0xFE, 7, 0xFFFF};
        d.count = 2;
    });
    ASSERT_TRUE(SaveMacroFile(profile, store, copy));
    MacroStore reread;
    LoadMacroFile(profile, messages, reread, copy);
    DeleteFileW(copyW.c_str());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(reread.Count(), 2);
    EXPECT_EQ(EncodeRecord(*reread.Snapshot(1)), EncodeRecord(*store.Snapshot(1)));
    EXPECT_EQ(reread.Snapshot(1)->Name(), u"全选复制ABCDEFGHIJKLMNO");
}

}  // namespace
