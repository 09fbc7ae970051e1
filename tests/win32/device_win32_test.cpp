// The device link's Windows side: the HID backend under Wine (which has no mouse), overlapped
// reads that a stop request ends, the virtual mouse served over a real socket, device-change
// messages reaching a window, the main window's device handling, and the Windows settings.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/device_wiring_win32.h"
#include "app/main_dialog_win32.h"
#include "app/startup.h"
#include "core/program_state.h"
#include "device/discovery.h"
#include "device/hid_backend_win32.h"
#include "device/virtual_mouse_server_win32.h"
#include "platform/system_settings_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"
#include "support/event_log.h"
#include "support/fake_settings.h"
#include "win32/support.h"

namespace {
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A TCP client of the virtual mouse server.
class Client {
public:
    explicit Client(std::uint16_t port) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        DWORD timeoutMs = 5000;
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        connected_ = connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~Client() {
        Close();
        WSACleanup();
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return connected_; }
    void Send(const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }
    // The answer lines up to and including the final "OK" or "ERR ..."; empty on a timeout.
    std::vector<std::string> Answer() {
        std::vector<std::string> lines;
        for (;;) {
            const std::size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                lines.push_back(pending_.substr(0, end));
                pending_.erase(0, end + 1);
                if (lines.back() == "OK" || lines.back().rfind("ERR", 0) == 0) return lines;
                continue;
            }
            char chunk[512];
            const int n = recv(socket_, chunk, sizeof(chunk), 0);
            if (n <= 0) return {};
            pending_.append(chunk, static_cast<std::size_t>(n));
        }
    }
    std::vector<std::string> Ask(const std::string& line) {
        Send(line);
        return Answer();
    }
    void Close() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    bool connected_ = false;
    std::string pending_;
};

// A window that records the WM_DEVICECHANGE messages it receives.
struct DeviceChangeRecord {
    WPARAM event = 0;
    std::optional<BroadcastInterface> changed;
};
std::vector<DeviceChangeRecord>* g_deviceChanges = nullptr;
MainWindowDevice* g_windowDevice = nullptr;
bool g_windowDestroyed = false;

LRESULT CALLBACK DeviceWindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DEVICECHANGE) {
        if (g_deviceChanges) g_deviceChanges->push_back({w, BroadcastInterfaceOf(l)});
        // As the main window: the mouse's removal ends it.
        if (g_windowDevice && g_windowDevice->OnDeviceChange(w, l) == DeviceChangeOutcome::MouseRemoved) {
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
        g_windowDevice = nullptr;
    }
};

std::string ReadFileText(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(HidBackend, EnumeratesWithoutCrashingAndFindsNoMouseUnderWine) {
    Win32HidPort port;
    if (std::unique_ptr<HidEnumeration> interfaces = port.Enumerate()) {
        for (int index = 0; index < kDiscoveryAttempts; ++index) {
            if (const std::optional<HidInterfaceInfo> info = interfaces->Interface(index)) {
                EXPECT_FALSE(info->path.empty()) << index;
            }
        }
        EXPECT_FALSE(interfaces->Interface(-1));
    }
    DeviceLink link;
    EXPECT_FALSE(DiscoverDevice(port, link));
    EXPECT_FALSE(link.DevicePresent());
    EXPECT_EQ(link.ReadHandle().state, HandleState::Null);
    EXPECT_EQ(link.WriteHandle().state, HandleState::Null);
    EXPECT_FALSE(link.ReadHandle().handle);
    EXPECT_FALSE(port.NotificationsRegistered());  // nothing of the mouse was met

    // A failure is kept for whoever debugs: the operation, the code and the system's text.
    EXPECT_FALSE(port.Open(u"\\\\?\\hid#vid_18f8&pid_0f99#nothing-here", HidAccess::Write));
    const std::wstring error = port.LastError();
    EXPECT_EQ(error.rfind(L"CreateFileW: (", 0), 0u) << std::string(error.begin(), error.end());
    EXPECT_NE(error.find(L") "), std::wstring::npos);
}

TEST(HidBackend, RegistersForNotificationsOnceAndOnlyWithAWindow) {
    Win32HidPort port;
    port.RegisterDeviceNotifications();
    EXPECT_FALSE(port.NotificationsRegistered());
    EXPECT_NE(port.LastError().find(L"RegisterDeviceNotificationW"), std::wstring::npos);

    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    port.SetNotificationWindow(window);
    port.RegisterDeviceNotifications();
    port.RegisterDeviceNotifications();
    EXPECT_TRUE(port.NotificationsRegistered());
    DestroyWindow(window);
}

TEST(HidBackend, OverlappedReadsDeliverReportsAndEndAtOnceOnStop) {
    const std::wstring name = L"\\\\.\\pipe\\hxt-hid-read-" + std::to_wstring(GetCurrentProcessId());
    OwnedHandle server(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 4096,
                                        4096, 0, nullptr));
    ASSERT_TRUE(server);
    OwnedHandle writer(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    auto errors = std::make_shared<HidErrorRecord>();
    const std::unique_ptr<HidHandle> device = MakeHidFileHandle(std::move(server), 9, errors);

    // A report longer than the caller's buffer is read whole and cut to the buffer.
    const std::uint8_t report[9] = {0x06, 0xF3, 1, 2, 3, 4, 5, 6, 7};
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.get(), report, sizeof(report), &written, nullptr));
    std::uint8_t buffer[4] = {};
    std::stop_source never;
    EXPECT_EQ(device->ReadInputReport(buffer, never.get_token()), 4u);
    EXPECT_EQ(buffer[0], 0x06);
    EXPECT_EQ(buffer[1], 0xF3);
    EXPECT_EQ(buffer[3], 2);

    // Nothing arrives: a stop request ends the waiting read at once.
    std::atomic<bool> ended{false};
    std::optional<std::size_t> result = 99;
    std::stop_source stop;
    std::thread reader([&] {
        std::uint8_t big[16] = {};
        result = device->ReadInputReport(big, stop.get_token());
        ended = true;
    });
    Sleep(150);
    EXPECT_FALSE(ended);
    const auto stopAt = Clock::now();
    stop.request_stop();
    reader.join();
    EXPECT_LT(MsSince(stopAt), 500);
    EXPECT_FALSE(result);

    // A stop requested before the read: no read at all. The pipe still works afterwards.
    EXPECT_FALSE(device->ReadInputReport(buffer, stop.get_token()));
    ASSERT_TRUE(WriteFile(writer.get(), report, 2, &written, nullptr));
    EXPECT_EQ(device->ReadInputReport(buffer, never.get_token()), 2u);

    // The writer leaves: the read fails instead of waiting, and says why.
    writer.reset();
    EXPECT_FALSE(device->ReadInputReport(buffer, never.get_token()));
    EXPECT_EQ(errors->Last().rfind(L"ReadFile: (", 0), 0u);
}

TEST(VirtualMouseServer, AnswersTheProtocolOverARealSocket) {
    VirtualMouse mouse;
    VirtualMouseServer server(mouse);
    ASSERT_TRUE(server.Start(0)) << std::string(server.LastError().begin(), server.LastError().end());
    ASSERT_GT(server.Port(), 0);

    Client client(server.Port());
    ASSERT_TRUE(client.Connected());
    const std::vector<std::string> state = client.Ask("state\n");
    ASSERT_EQ(state.size(), 14u);
    EXPECT_EQ(state[0], "map1=-");
    EXPECT_EQ(state.back(), "OK");

    // Letter case, CR LF line ends, two commands in one packet, one command over two packets.
    EXPECT_EQ(client.Ask("PRESS 1\r\n"), (std::vector<std::string>{"input none", "OK"}));
    client.Send("report 06 00\nfeatures\n");
    EXPECT_EQ(client.Answer(), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(client.Answer(), (std::vector<std::string>{"OK"}));
    client.Send("sta");
    Sleep(50);
    EXPECT_EQ(client.Ask("te\n").size(), 14u);

    EXPECT_EQ(client.Ask("jump 3\n"), (std::vector<std::string>{"ERR unknown command 'jump'"}));
    EXPECT_EQ(client.Ask("\n"), (std::vector<std::string>{"ERR empty command"}));

    // A line far longer than any command is refused as a whole, and the connection goes on.
    std::string huge(100 * 1024, 'x');
    huge[50] = '\r';
    huge[60] = '\0';
    EXPECT_EQ(client.Ask(huge + "\n"), (std::vector<std::string>{"ERR line too long"}));
    EXPECT_EQ(client.Ask(std::string(kMaxCommandLine, ' ') + "\n").back().rfind("ERR", 0), 0u);
    EXPECT_EQ(client.Ask("clear\n"), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(server.ClientsServed(), 1u);
}

TEST(VirtualMouseServer, ClientsThatLeaveMidLineOrWithoutReadingAreDropped) {
    VirtualMouse mouse;
    VirtualMouseServer server(mouse);
    ASSERT_TRUE(server.Start(0));
    {
        // An unfinished line is never run.
        Client leaving(server.Port());
        ASSERT_TRUE(leaving.Connected());
        leaving.Send("unplug");
    }
    {
        // Gone before its answer is written.
        Client impatient(server.Port());
        impatient.Send("features\nstate\nstate\n");
    }
    Client next(server.Port());
    EXPECT_EQ(next.Ask("clear\n"), (std::vector<std::string>{"OK"}));
    EXPECT_TRUE(mouse.Plugged());
    EXPECT_EQ(server.ClientsServed(), 3u);

    // The port is the server's alone while it serves.
    VirtualMouse other;
    VirtualMouseServer rival(other);
    EXPECT_FALSE(rival.Start(server.Port()));
    EXPECT_NE(rival.LastError().find(L"bind: ("), std::wstring::npos);

    // Stopping with a client connected ends at once.
    const auto stopAt = Clock::now();
    server.Stop();
    EXPECT_LT(MsSince(stopAt), 1000);
    EXPECT_TRUE(next.Ask("state\n").empty());
}

TEST_F(DeviceWindow, PlugAndUnplugOverTheSocketReachTheWindowAsDeviceChanges) {
    VirtualMouse mouse;
    mouse.RegisterDeviceNotifications();
    const HWND target = hwnd;
    mouse.SetNotificationCallback(
        [target](DeviceChange change, const std::u16string& path) { SendDeviceChange(target, change, path); });
    VirtualMouseServer server(mouse);
    ASSERT_TRUE(server.Start(0));

    // The server's thread sends; this thread must pump to let the messages in.
    std::vector<std::string> answer;
    std::thread asker([&] {
        Client client(server.Port());
        answer = client.Ask("unplug\n");
        const std::vector<std::string> plugged = client.Ask("plug\n");
        answer.insert(answer.end(), plugged.begin(), plugged.end());
    });
    EXPECT_TRUE(PumpUntil([&] { return changes.size() >= 6; }, 5000));
    asker.join();
    EXPECT_EQ(answer, (std::vector<std::string>{"OK", "OK"}));

    const std::vector<std::u16string> paths = mouse.MouseInterfacePaths();
    ASSERT_EQ(changes.size(), 2 * paths.size());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const bool removal = i < paths.size();
        EXPECT_EQ(changes[i].event, static_cast<WPARAM>(removal ? DBT_DEVICEREMOVECOMPLETE : DBT_DEVICEARRIVAL));
        ASSERT_TRUE(changes[i].changed);
        EXPECT_EQ(changes[i].changed->deviceType, static_cast<std::uint32_t>(DBT_DEVTYP_DEVICEINTERFACE));
        EXPECT_TRUE(IsEqualGUID(changes[i].changed->classGuid, HidClassGuid()));
        EXPECT_EQ(changes[i].changed->name, paths[i % paths.size()]);
    }
}

TEST(DeviceBroadcast, NamesAreReadWithinTheRecordOnly) {
    EXPECT_FALSE(BroadcastInterfaceOf(0));

    struct {
        DEV_BROADCAST_DEVICEINTERFACE_W record;
        wchar_t rest[32];
    } buffer{};
    buffer.record.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    const wchar_t name[] = L"\\\\?\\HID#1234567";  // no room for its terminator below
    std::copy(std::begin(name), std::end(name) - 1, buffer.record.dbcc_name);
    const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    buffer.record.dbcc_size = static_cast<DWORD>(nameOffset + 5 * sizeof(wchar_t));
    const auto cut = BroadcastInterfaceOf(reinterpret_cast<LPARAM>(&buffer));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->name, u"\\\\?\\H");

    buffer.record.dbcc_size = static_cast<DWORD>(nameOffset - 1);  // too short for its own fields
    EXPECT_FALSE(BroadcastInterfaceOf(reinterpret_cast<LPARAM>(&buffer)));

    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    EXPECT_FALSE(BroadcastInterfaceOf(reinterpret_cast<LPARAM>(&volume)));
}

TEST_F(DeviceWindow, TheMainWindowsDeviceFollowsArrivalRemovalAndClose) {
    ProgramStateRestorer restorer;
    ScratchDir dir;
    ProgramState& program = Program();
    program.paths.ProgramDir = FromWide(dir.Path());
    program.paths.ConfigIniPath = FromWide(dir.Path() + L"\\config.ini");
    program.CurConfig = 1;
    SetBuiltInDefaults(program.config);

    auto mouse = std::make_shared<VirtualMouse>();
    MainWindowDevice device(mouse);
    g_windowDevice = &device;
    device.StartWorkers(hwnd);
    ASSERT_TRUE(device.Discover());
    EXPECT_EQ(mouse->NotificationRegistrations(), 3);
    // The interface the notifications are judged by: the last of the mouse's that discovery met.
    const std::u16string path = MouseLink().DevicePath();
    EXPECT_EQ(path, mouse->MouseInterfacePaths().back());

    // Changes of other interfaces, and arrivals while the mouse is there, change nothing.
    std::u16string other = path;
    other.back() = other.back() == u'0' ? u'1' : u'0';
    EXPECT_EQ(SendDeviceChange(hwnd, DeviceChange::Removal, other), TRUE);
    SendDeviceChange(hwnd, DeviceChange::Removal, mouse->MouseInterfacePaths().front());
    SendDeviceChange(hwnd, DeviceChange::Arrival, path);
    EXPECT_TRUE(MouseLink().DevicePresent());
    EXPECT_FALSE(g_windowDestroyed);
    EXPECT_EQ(device.OnDeviceChange(DBT_DEVNODES_CHANGED, 0), DeviceChangeOutcome::Nothing);

    // Any HID arrival while the mouse is missing looks for it again.
    MouseLink().SetDevicePresent(false);
    const std::uint64_t before = MouseLink().Generation();
    SendDeviceChange(hwnd, DeviceChange::Arrival, u"\\\\?\\hid#vid_0001&pid_0002#1#{x}");
    EXPECT_TRUE(MouseLink().DevicePresent());
    EXPECT_GT(MouseLink().Generation(), before);

    // Closing: the exit command goes to the mouse.
    mouse->ClearFeatureReports();
    device.PrepareClose();
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
    EXPECT_FALSE(MouseLink().DevicePresent());
    EXPECT_TRUE(mouse->FeatureReports().empty());

    device.Stop();
    g_windowDevice = nullptr;
    MouseLink().Install({});
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

TEST(DeviceWiring, PressesOfHostButtonsTravelFromTheMouseToTheExecutor) {
    ProgramStateRestorer restorer;
    ScratchDir dir;
    dir.Write("config.ini", "[Init]\r\nCurConfig=1\r\n");
    ProgramState& program = Program();
    program.paths.ProgramDir = FromWide(dir.Path());
    program.paths.ConfigIniPath = FromWide(dir.Path() + L"\\config.ini");
    program.CurConfig = 1;
    SetBuiltInDefaults(program.config);
    program.config.K = {1, 2, 3, 5, 4, 18, 17};  // buttons 6 and 7 step the DPI stage down and up
    program.config.DPI_LEVEL = 0;

    Win32SystemSettings settings;
    const std::optional<unsigned> lines = settings.WheelScrollLines();
    auto mouse = std::make_shared<VirtualMouse>();
    {
        MainWindowDevice device(mouse);
        device.StartWorkers(nullptr);
        ASSERT_TRUE(device.Discover());
        device.Apply();
        EXPECT_FALSE(SharedFlags().DriverActive);
        EXPECT_EQ(SharedFlags().StartKeyIndex, 6);

        // Before the mouse confirms, a press is dropped; the release of the start key confirms
        // (any release would: it is the report the mouse confirms with).
        mouse->ClearFeatureReports();
        mouse->Press(7);
        Sleep(100);
        EXPECT_TRUE(mouse->FeatureReports().empty());
        mouse->Press(6);
        mouse->Release(6);
        EXPECT_TRUE(PumpUntil([] { return SharedFlags().DriverActive.load(); }));

        mouse->Press(7);
        mouse->Release(7);
        EXPECT_TRUE(PumpUntil([&] { return !mouse->FeatureReports().empty(); }));
        EXPECT_EQ(HexLine(mouse->FeatureReports().at(0)), "07 09 01 A0 00 00 00 00 00");  // stage 1, value 2
        device.Stop();
    }
    EXPECT_EQ(program.config.DPI_LEVEL, 1);
    EXPECT_NE(ReadFileText(dir.Path() + L"\\config.ini").find("DPI_LEVEL=1"), std::string::npos);
    if (lines) settings.SetWheelScrollLines(*lines);
    MouseLink().Install({});
}

TEST(MainWindowDevice, TheWindowDownloadsAtStartReappliesOnPowerEventsAndSaysGoodbyeOnClose) {
    ProgramStateRestorer restorer;
    ScratchDir dir;
    dir.Write("config.ini",
              "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n[Config2]\r\nK1=1\r\nK2=2\r\nK3=3\r\nK4=5\r\nK5=4\r\n"
              "K6=16\r\nK7=25\r\nDPI_LEVEL=1\r\nDPI_SET2=3\r\nLED_STATUS=2\r\nWHEEL_STATUS=1\r\nFIRE_TIME=300\r\n");
    dir.Write("Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
    // The skin the build generated beside this program, where the window looks for it.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path builtSkins = std::filesystem::path(self).parent_path() / "skins";
    std::error_code ignored;
    std::filesystem::copy(builtSkins, std::filesystem::path(dir.Path()) / "skins",
                          std::filesystem::copy_options::recursive, ignored);
    Program().paths.ProgramDir = FromWide(dir.Path());
    Win32SystemSettings settings;
    const std::optional<unsigned> lines = settings.WheelScrollLines();

    const std::vector<std::string> applied = {
        "07 10 01 01 00 00 00 00 00", "07 10 02 02 00 00 00 00 00", "07 10 03 03 00 00 00 00 00",
        "07 10 05 05 00 00 00 00 00", "07 10 04 04 00 00 00 00 00", "07 10 06 0C 00 00 00 00 00",
        "07 10 08 11 00 00 00 00 00", "07 11 01 00 00 00 00 00 00", "07 09 01 B2 00 00 00 00 00",
        "07 12 25 00 00 00 00 00 00"};
    auto mouse = std::make_shared<VirtualMouse>();
    const auto received = [&mouse] {
        std::vector<std::string> hex;
        for (const auto& report : mouse->FeatureReports()) hex.push_back(HexLine(report));
        mouse->ClearFeatureReports();
        return hex;
    };
    // Windows' settings as the program sets them; Wine would lose the pointer speed.
    EventLog settingsLog;
    FakeSettings recorded;
    recorded.log = &settingsLog;
    MainWindowDevice device(mouse, recorded);
    {
        CHXT_GMouseDlg dialog(&device);
        ASSERT_TRUE(dialog.Create());
        const HWND hwnd = dialog.Hwnd();
        EXPECT_TRUE(MouseLink().DevicePresent());
        EXPECT_EQ(received(), applied);
        EXPECT_EQ(settingsLog.Lines(), (std::vector<std::string>{"speed 1", "lines 1"}));  // DPI_SPEED, WHEEL_SPEED 0
        EXPECT_TRUE(SharedFlags().DriverActive);  // no button in host mode

        // Every power event downloads the whole configuration again.
        SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        EXPECT_EQ(received(), applied);

        // The tray menu's "Exit Driver" ends with the exit command.
        SendMessageW(hwnd, WM_COMMAND, ID_TRAY_EXIT, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(received(), (std::vector<std::string>{"07 20 00 00 00 00 00 00 00"}));
        EXPECT_EQ(settingsLog.Lines().back(), "speed 10");  // the pointer speed goes back to Windows' default
    }
    device.Stop();
    MouseLink().Install({});
    if (lines) settings.SetWheelScrollLines(*lines);
}

TEST(SystemSettings, WheelLinesRoundTripAndThePointerSpeedCanBeRead) {
    Win32SystemSettings settings;
    const std::optional<unsigned> old = settings.WheelScrollLines();
    ASSERT_TRUE(old);
    const unsigned other = *old == 7 ? 5 : 7;
    EXPECT_TRUE(settings.SetWheelScrollLines(other));
    EXPECT_EQ(settings.WheelScrollLines(), other);
    EXPECT_TRUE(settings.SetWheelScrollLines(*old));
    EXPECT_EQ(settings.WheelScrollLines(), *old);
    // The speed's value does not survive Wine's round trip; the query itself must work.
    EXPECT_TRUE(settings.MouseSpeed().has_value());
}

TEST(LineLog, AppendsWholeLinesThatAReaderSeesAtOnce) {
    ScratchDir dir;
    dir.Write("log.txt", "earlier\n");
    const std::wstring path = dir.Path() + L"\\log.txt";
    LineLog log(path);
    ASSERT_TRUE(log.IsOpen());
    log.Append("07 20 00 00");
    EXPECT_EQ(ReadFileText(path), "earlier\n07 20 00 00\n");  // while the log is still open
    log.Append("");
    EXPECT_EQ(ReadFileText(path), "earlier\n07 20 00 00\n\n");

    EXPECT_FALSE(LineLog(dir.Path() + L"\\no\\such\\dir\\log.txt").IsOpen());
}
