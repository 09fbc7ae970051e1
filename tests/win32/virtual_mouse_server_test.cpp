// The virtual mouse served over a real socket, its plug and unplug reaching a window as device
// changes, and the log of the feature reports it receives.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <string>
#include <thread>
#include <vector>

#include "device/device_broadcast_win32.h"
#include "device/hid_backend_win32.h"
#include "device/virtual_mouse_server_win32.h"
#include "win32/device_window.h"
#include "win32/support.h"

namespace {
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

}  // namespace

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
        EXPECT_TRUE(changes[i].changed->hidClass);
        EXPECT_EQ(changes[i].changed->name, paths[i % paths.size()]);
    }
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

    const LineLog missing(dir.Path() + L"\\no\\such\\dir\\log.txt");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.OpenError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));  // the open's own error, kept
}
