// The virtual mouse on Windows: its line protocol served on 127.0.0.1:PORT (one client at a
// time), its plug and unplug turned into the WM_DEVICECHANGE messages Windows would send the
// main window, and its feature reports appended to a log file.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "device/virtual_mouse.h"
#include "device/virtual_mouse_protocol.h"
#include "platform/handles_win32.h"

// Longest command line taken, its CR included; a longer one is answered "ERR line too long".
constexpr std::size_t kMaxServedLine = kMaxCommandLine + 1;

// How long an answer may wait for a client that does not read before the client is dropped.
constexpr DWORD kSendPatienceMs = 5000;

class VirtualMouseServer {
public:
    explicit VirtualMouseServer(VirtualMouse& mouse) : mouse_(mouse) {}
    ~VirtualMouseServer() { Stop(); }
    VirtualMouseServer(const VirtualMouseServer&) = delete;
    VirtualMouseServer& operator=(const VirtualMouseServer&) = delete;

    // Listens on 127.0.0.1:port (0: a free port of the system's choice) and serves on a thread
    // of its own. False when the port cannot be had; LastError says why.
    bool Start(std::uint16_t port);
    // The port listened on; 0 before Start.
    std::uint16_t Port() const { return port_.load(); }
    // Ends the server. Messages sent to this thread's windows meanwhile (a plug or unplug that
    // is being served) are handled while it waits, so they cannot block each other.
    void Stop();

    std::wstring LastError() const;
    // Clients accepted so far.
    std::uint64_t ClientsServed() const { return clients_.load(); }

private:
    void Serve();
    // Sockets are kept as their integer value, so this header needs no Winsock.
    using Socket = SocketTraits::Handle;
    void ServeClient(Socket client);
    bool SendAll(Socket client, std::string_view bytes);
    void Fail(const wchar_t* operation, int code);

    VirtualMouse& mouse_;
    bool winsockStarted_ = false;
    OwnedSocket listener_;
    OwnedHandle stop_;
    OwnedHandle finished_;
    std::thread thread_;
    std::atomic<std::uint16_t> port_{0};
    std::atomic<std::uint64_t> clients_{0};
    mutable std::mutex errorMutex_;
    std::wstring lastError_;
};

// Appends lines to a file, each written through at once, so a reader sees it as it happens.
class LineLog {
public:
    explicit LineLog(const std::wstring& path);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // Why the file could not be opened (GetLastError of the open); 0 when it is open.
    DWORD OpenError() const { return openError_; }
    void Append(std::string_view line);

private:
    std::mutex mutex_;
    OwnedHandle file_;
    DWORD openError_ = 0;
};
