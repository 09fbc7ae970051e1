// The program's mouse side on Windows: the main window following the mouse's arrival and removal,
// presses travelling from the mouse to the executor, the downloads at start, on power events and
// on close, and the Windows settings it changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dialog_win32.h"
#include "device/device_broadcast_win32.h"
#include "platform/system_settings_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"
#include "skin/skin_entries.h"
#include "support/event_log.h"
#include "support/fake_settings.h"
#include "support/recording_injector.h"
#include "win32/device_window.h"
#include "win32/mouse_rig.h"
#include "win32/skin_support.h"
#include "win32/support.h"

TEST_F(DeviceWindow, TheMainWindowsDeviceFollowsArrivalRemovalAndClose) {
    ScratchDir dir;
    MouseRig rig;
    DeviceLink& link = rig.services.link;
    rig.UseProgramDir(dir.Path());

    const std::shared_ptr<VirtualMouse>& mouse = rig.mouse;
    g_windowMouse = {&rig.session, &link};
    rig.session.NotifyWindow(hwnd);
    rig.runtime.StartWorkers(hwnd);
    ASSERT_TRUE(rig.session.Discover(link));
    EXPECT_EQ(mouse->NotificationRegistrations(), 3);
    // The interface the notifications are judged by: the last of the mouse's that discovery met.
    const std::u16string path = link.DevicePath();
    EXPECT_EQ(path, mouse->MouseInterfacePaths().back());

    // Changes of other interfaces, and arrivals while the mouse is there, change nothing.
    std::u16string other = path;
    other.back() = other.back() == u'0' ? u'1' : u'0';
    EXPECT_EQ(SendDeviceChange(hwnd, DeviceChange::Removal, other), TRUE);
    SendDeviceChange(hwnd, DeviceChange::Removal, mouse->MouseInterfacePaths().front());
    SendDeviceChange(hwnd, DeviceChange::Arrival, path);
    EXPECT_TRUE(link.DevicePresent());
    EXPECT_FALSE(g_windowDestroyed);
    EXPECT_EQ(rig.session.OnDeviceChange(link, DBT_DEVNODES_CHANGED, 0), DeviceChangeOutcome::Nothing);

    // Any HID arrival while the mouse is missing looks for it again.
    link.SetDevicePresent(false);
    const std::uint64_t before = link.Generation();
    SendDeviceChange(hwnd, DeviceChange::Arrival, u"\\\\?\\hid#vid_0001&pid_0002#1#{x}");
    EXPECT_TRUE(link.DevicePresent());
    EXPECT_GT(link.Generation(), before);

    // Closing: the exit command goes to the mouse.
    mouse->ClearFeatureReports();
    rig.runtime.PrepareClose();
    const auto reports = mouse->FeatureReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(HexLine(reports[0]), "07 20 00 00 00 00 00 00 00");

    // The mouse's removal, its path in another letter case, ends the window with nothing sent.
    std::u16string upper = path;
    for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    mouse->ClearFeatureReports();
    SendDeviceChange(hwnd, DeviceChange::Removal, upper);
    EXPECT_TRUE(g_windowDestroyed);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(link.DevicePresent());
    EXPECT_TRUE(mouse->FeatureReports().empty());

    g_windowMouse = {};
}

namespace {
// A modal window that goes when told so by a sent device change, as the main window does when
// the mouse is unplugged.
class EndsOnDeviceChange : public Dialog {
public:
    EndsOnDeviceChange() : Dialog(IDD_ABOUTBOX) {
        Messages().Set(WM_DEVICECHANGE, [this](WPARAM, LPARAM) -> std::optional<LRESULT> {
            DestroyWindow(Hwnd());
            return TRUE;
        });
    }
};
}  // namespace

TEST(DeviceWindowLifetime, AModalWindowDestroyedFromAnotherThreadsMessageEndsItsLoop) {
    EndsOnDeviceChange dialog;
    const DWORD thisThread = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    std::atomic<bool> rescued{false};
    std::thread remover([&] {
        HWND window = nullptr;
        for (int i = 0; i < 500 && !(window && IsWindowVisible(window)); ++i, Sleep(10)) {
            window = FindWindowW(nullptr, L"About HXT_GMouse");
        }
        SendDeviceChange(window, DeviceChange::Removal, u"\\\\?\\hid#gone");
        // Nothing is posted to the window's thread: its loop has to notice by itself.
        for (int i = 0; i < 300 && !ended; ++i) Sleep(10);
        if (!ended) {
            rescued = true;
            PostThreadMessageW(thisThread, WM_NULL, 0, 0);
        }
    });
    dialog.DoModal();
    ended = true;
    remover.join();
    EXPECT_FALSE(rescued) << "the modal loop kept waiting after its window was destroyed";
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

namespace {
// The main window's part in a press: it carries out what the executor posts.
LRESULT CALLBACK CarryOutRequests(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR rig) {
    if (message != kHostRequestMessage) return DefSubclassProc(window, message, wParam, lParam);
    if (const std::optional<HostRequest> request = HostRequestOf(wParam, lParam)) {
        reinterpret_cast<MouseRig*>(rig)->runtime.CarryOut(*request);
    }
    return 0;
}
}  // namespace

TEST(DeviceWiring, PressesOfHostButtonsTravelFromTheMouseToTheExecutorAndTheWindow) {
    ScratchDir dir;
    dir.Write("config.ini", "[Init]\r\nCurConfig=1\r\n");
    Win32SystemSettings settings;
    const std::optional<unsigned> lines = settings.WheelScrollLines();
    MouseRig rig;
    ProgramState& program = rig.services.program;
    const PressHandoff& handoff = rig.services.handoff;
    rig.UseProgramDir(dir.Path());
    program.config.K = {1, 2, 3, 5, 4, 18, 17};  // buttons 6 and 7 step the DPI stage down and up
    program.config.DPI_LEVEL = 0;
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    SetWindowSubclass(window, CarryOutRequests, 1, reinterpret_cast<DWORD_PTR>(&rig));

    const std::shared_ptr<VirtualMouse>& mouse = rig.mouse;
    {
        rig.runtime.StartWorkers(window);
        ASSERT_TRUE(rig.session.Discover(rig.services.link));
        rig.runtime.Apply();
        EXPECT_FALSE(handoff.HostActionsOn());
        EXPECT_EQ(program.applied.startKeyIndex, 6);

        // Before the mouse confirms, a press is dropped; the release of the start key confirms
        // (any release would: it is the report the mouse confirms with).
        mouse->ClearFeatureReports();
        mouse->Press(7);
        Sleep(100);
        EXPECT_TRUE(mouse->FeatureReports().empty());
        mouse->Press(6);
        mouse->Release(6);
        EXPECT_TRUE(PumpUntil([&] { return handoff.HostActionsOn(); }));

        mouse->Press(7);
        mouse->Release(7);
        EXPECT_TRUE(PumpUntil([&] { return !mouse->FeatureReports().empty(); }));
        EXPECT_EQ(HexLine(mouse->FeatureReports().at(0)), "07 09 01 A0 00 00 00 00 00");  // stage 1, value 2
        rig.runtime.Stop();
    }
    EXPECT_EQ(program.config.DPI_LEVEL, 1);
    EXPECT_NE(ReadFileText(dir.Path() + L"\\config.ini").find("DPI_LEVEL=1"), std::string::npos);
    DestroyWindow(window);
    if (lines) settings.SetWheelScrollLines(*lines);
}


TEST(MainWindowMouse, TheWindowDownloadsAtStartReappliesOnPowerEventsAndSaysGoodbyeOnClose) {
    ScratchDir dir;
    dir.Write("config.ini",
              "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n[Config2]\r\nK1=1\r\nK2=2\r\nK3=3\r\nK4=5\r\nK5=4\r\n"
              "K6=16\r\nK7=25\r\nDPI_LEVEL=1\r\nDPI_SET2=3\r\nLED_STATUS=2\r\nWHEEL_STATUS=1\r\nFIRE_TIME=300\r\n"
              "DPI_SPEED=0\r\nWHEEL_SPEED=0\r\n");
    dir.Write("Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
    // The skin the build generated beside this program, where the window looks for it.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path builtSkins = std::filesystem::path(self).parent_path() / "skins";
    std::error_code ignored;
    std::filesystem::copy(builtSkins, std::filesystem::path(dir.Path()) / "skins",
                          std::filesystem::copy_options::recursive, ignored);
    Win32SystemSettings settings;
    const std::optional<unsigned> lines = settings.WheelScrollLines();

    const std::vector<std::string> applied = {
        "07 10 01 01 00 00 00 00 00", "07 10 02 02 00 00 00 00 00", "07 10 03 03 00 00 00 00 00",
        "07 10 05 05 00 00 00 00 00", "07 10 04 04 00 00 00 00 00", "07 10 06 0C 00 00 00 00 00",
        "07 10 08 11 00 00 00 00 00", "07 11 01 00 00 00 00 00 00", "07 09 01 B2 00 00 00 00 00",
        "07 12 25 00 00 00 00 00 00"};
    // Windows' settings as the program sets them; Wine would lose the pointer speed.
    EventLog settingsLog;
    FakeSettings recorded;
    recorded.log = &settingsLog;
    MouseRig rig(recorded);
    rig.services.program.paths.ProgramDir = FromWide(dir.Path());
    const std::shared_ptr<VirtualMouse>& mouse = rig.mouse;
    const auto received = [&mouse] {
        std::vector<std::string> hex;
        for (const auto& report : mouse->FeatureReports()) hex.push_back(HexLine(report));
        mouse->ClearFeatureReports();
        return hex;
    };
    EventLog keysLog;
    RecordingInjector keys(keysLog);
    OwnWindowPorts& own = rig.window;
    {
        CHXT_GMouseDlg dialog(rig.services, WindowPorts{own.profile, own.messages, own.files, own.keys, keys},
                              &rig.programMouse);
        ASSERT_TRUE(dialog.Create());
        const HWND hwnd = dialog.Hwnd();
        EXPECT_TRUE(rig.services.link.DevicePresent());
        EXPECT_TRUE(received().empty());  // the first apply waits for the first paint
        ASSERT_TRUE(PumpUntil([&] { return dialog.StartupFinished(); }));
        EXPECT_EQ(received(), applied);
        EXPECT_EQ(settingsLog.Lines(), (std::vector<std::string>{"speed 1", "lines 1"}));  // DPI_SPEED, WHEEL_SPEED 0
        EXPECT_TRUE(rig.services.handoff.HostActionsOn());  // no button in host mode

        // Every power event downloads the whole configuration again.
        SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        EXPECT_EQ(received(), applied);

        // The tray menu's "Exit Driver" lets go of Alt, which injected input may have left down,
        // and ends with the exit command.
        SendMessageW(hwnd, WM_COMMAND, ID_TRAY_EXIT, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(keysLog.Lines(), std::vector<std::string>(7, "key 12 00 2"));
        EXPECT_EQ(received(), (std::vector<std::string>{"07 20 00 00 00 00 00 00 00"}));
        EXPECT_EQ(settingsLog.Lines().back(), "speed 10");  // the pointer speed goes back to Windows' default
    }
    if (lines) settings.SetWheelScrollLines(*lines);
}

TEST(SystemSettings, WheelLinesAndPointerSpeedRoundTrip) {
    Win32SystemSettings settings;
    const std::optional<unsigned> old = settings.WheelScrollLines();
    ASSERT_TRUE(old);
    const unsigned other = *old == 7 ? 5 : 7;
    EXPECT_TRUE(settings.SetWheelScrollLines(other));
    EXPECT_EQ(settings.WheelScrollLines(), other);
    EXPECT_TRUE(settings.SetWheelScrollLines(*old));
    EXPECT_EQ(settings.WheelScrollLines(), *old);

    // Windows and Wine read the speed from different parameters: either way it must come back,
    // and never as 0, which stops the pointer.
    const std::optional<int> speed = settings.MouseSpeed();
    ASSERT_TRUE(speed);
    const int otherSpeed = *speed == 7 ? 13 : 7;
    EXPECT_TRUE(settings.SetMouseSpeed(otherSpeed));
    EXPECT_EQ(settings.MouseSpeed(), otherSpeed);
    EXPECT_TRUE(settings.SetMouseSpeed(*speed >= 1 && *speed <= 20 ? *speed : 10));
}

// The executor is busy in a shortcut whose key does not go down until the test lets go. Meanwhile
// the user clicks Apply, the window paints and the close control is used: none of them waits for
// it. Then, with a message box of the window open, a host button's configuration switch is
// carried out at once, inside the box's own message loop.
TEST(MainWindowMouse, TheWindowNeverWaitsForTheExecutorAndServesItUnderAMessageBox) {
    ScratchDir dir;
    dir.Write("config.ini",
              "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n"
              "[Config1]\r\nK1=1\r\nK6=31\r\nK7=40\r\nFIRE_TIME=8\r\n"
              "[Config2]\r\nK1=1\r\nK6=31\r\nK7=40\r\nFIRE_TIME=16\r\n[Config6]\r\nK1=1\r\nK6=31\r\nK7=40\r\n");
    dir.Write("Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
    CopyBuiltSkins(dir.Path());
    FakeSettings settings;
    std::atomic<bool> letGo{false};
    std::atomic<bool> blocked{false};
    std::atomic<bool> released{false};  // the executor's shortcut went on
    struct HeldKeys : InputInjectorPort {
        std::atomic<bool>& letGo;
        std::atomic<bool>& blocked;
        std::atomic<bool>& released;
        HeldKeys(std::atomic<bool>& go, std::atomic<bool>& in, std::atomic<bool>& out)
            : letGo(go), blocked(in), released(out) {}
        void KeyEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {
            blocked = true;
            // A window that waited for this would wait a minute.
            for (int i = 0; i < 12000 && !letGo; ++i) Sleep(5);
            released = true;
        }
        void MouseButton(MouseButtonEvent) override {}
        std::uint32_t ScanCodeOf(std::uint8_t) override { return 0; }
    } keys(letGo, blocked, released);
    MouseRig rig(settings, keys);
    rig.services.program.paths.ProgramDir = FromWide(dir.Path());
    CHXT_GMouseDlg dialog(rig.services, rig.window.Ports(), &rig.programMouse);
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(PumpUntil([&] { return dialog.StartupFinished(); }));
    const HWND hwnd = dialog.Hwnd();
    const PressHandoff& handoff = rig.services.handoff;
    ASSERT_FALSE(handoff.HostActionsOn());  // buttons 6 and 7 are in host mode: the mouse must confirm first
    rig.mouse->Press(7);
    rig.mouse->Release(7);
    ASSERT_TRUE(PumpUntil([&] { return handoff.HostActionsOn(); }));

    rig.mouse->Press(6);  // Ctrl+C, held up in its first key
    rig.mouse->Release(6);
    ASSERT_TRUE(PumpUntil([&] { return blocked.load(); }));
    const auto centre = [&](int entry) {
        const SkinEntry& e = dialog.View().Skin().main.At(entry);
        return MAKELPARAM(e.x + e.width / 2, e.y + e.height / 2);
    };
    const auto click = [&](int entry) {
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, centre(entry));
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre(entry));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, centre(entry));
    };
    // Each step returns while the executor is still held up: none of them waited for it, however
    // slow the machine (how fast they return is the repaint benchmark's business).
    rig.mouse->ClearFeatureReports();
    click(MainEntry::kApply);
    EXPECT_FALSE(released) << "Apply waited for the executor";
    EXPECT_FALSE(rig.mouse->FeatureReports().empty()) << "Apply did not reach the mouse";
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_FALSE(released) << "a paint waited for the executor";
    letGo = true;
    ASSERT_TRUE(PumpUntil([&] { return handoff.PendingInput() == 0; }));
    rig.mouse->Press(7);  // the mouse confirms what Apply sent
    rig.mouse->Release(7);
    ASSERT_TRUE(PumpUntil([&] { return handoff.HostActionsOn(); }));

    // A message box of the window is open; the host button's switch comes meanwhile.
    bool switchedUnderTheBox = false;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i, Sleep(5)) box = FindWindowW(nullptr, L"box under test");
        rig.mouse->ClearFeatureReports();
        rig.mouse->Press(7);
        rig.mouse->Release(7);
        for (int i = 0; i < 1000; ++i, Sleep(5)) {
            const std::vector<std::vector<std::uint8_t>> reports = rig.mouse->FeatureReports();
            if (!reports.empty() && HexLine(reports.back()) == "07 12 02 00 00 00 00 00 00") break;
        }
        switchedUnderTheBox = box && IsWindow(box) && rig.mouse->State().fire == 2;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    MessageBoxW(hwnd, L"waiting", L"box under test", MB_OK);
    user.join();
    EXPECT_TRUE(switchedUnderTheBox);
    EXPECT_EQ(rig.services.program.CurConfig, 2);
    click(MainEntry::kClose);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
}
