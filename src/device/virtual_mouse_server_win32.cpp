// Winsock wants to come before <windows.h>, which the header brings in.
#include <winsock2.h>

#include "device/virtual_mouse_server_win32.h"

#include <dbt.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

#include "device/hid_backend_win32.h"

namespace {
constexpr int kBacklog = 4;  // clients waiting for the one being served
constexpr std::size_t kReceiveChunk = 4096;

bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// Waits for the socket's network event or stop; true for the network event, which it resets.
bool WaitForSocket(SOCKET socket, HANDLE networkEvent, HANDLE stop) {
    const HANDLE waits[2] = {stop, networkEvent};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return false;
    WSANETWORKEVENTS events{};
    WSAEnumNetworkEvents(socket, networkEvent, &events);
    return true;
}
}  // namespace

bool VirtualMouseServer::Start(std::uint16_t port) {
    if (thread_.joinable()) return false;
    WSADATA data{};
    if (const int error = WSAStartup(MAKEWORD(2, 2), &data)) {
        Fail(L"WSAStartup", error);
        return false;
    }
    winsockStarted_ = true;

    OwnedSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener) {
        Fail(L"socket", WSAGetLastError());
        return false;
    }
    // Nobody else may take over the port while the program serves it.
    BOOL exclusive = TRUE;
    setsockopt(listener.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof(exclusive));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from other machines
    address.sin_port = htons(port);
    if (bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR) {
        Fail(L"bind", WSAGetLastError());
        return false;
    }
    if (listen(listener.get(), kBacklog) == SOCKET_ERROR) {
        Fail(L"listen", WSAGetLastError());
        return false;
    }
    int length = sizeof(address);
    getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_.store(ntohs(address.sin_port));

    // The error is read before the old event is closed or the next one created: both overwrite it.
    const auto newEvent = [this](OwnedHandle& event) {
        const HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!created) Fail(L"CreateEventW", static_cast<int>(GetLastError()));
        event.reset(created);
        return created != nullptr;
    };
    if (!newEvent(stop_) || !newEvent(finished_)) return false;
    listener_ = std::move(listener);
    thread_ = std::thread([this] {
        Serve();
        SetEvent(finished_.get());
    });
    return true;
}

void VirtualMouseServer::Stop() {
    if (thread_.joinable()) {
        SetEvent(stop_.get());
        // The server thread may be inside SendMessage to a window of this thread (a plug or
        // unplug): handle such messages while waiting, or both threads would wait forever.
        const HANDLE finished = finished_.get();
        while (MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        thread_.join();
    }
    listener_.reset();
    if (winsockStarted_) {
        WSACleanup();
        winsockStarted_ = false;
    }
}

std::wstring VirtualMouseServer::LastError() const {
    std::lock_guard<std::mutex> hold(errorMutex_);
    return lastError_;
}

void VirtualMouseServer::Fail(const wchar_t* operation, int code) {
    std::wstring line = DescribeSystemError(operation, static_cast<DWORD>(code));
    std::lock_guard<std::mutex> hold(errorMutex_);
    lastError_ = std::move(line);
}

void VirtualMouseServer::Serve() {
    OwnedHandle acceptable(WSACreateEvent());
    if (!acceptable || WSAEventSelect(listener_.get(), acceptable.get(), FD_ACCEPT) == SOCKET_ERROR) {
        Fail(L"WSAEventSelect", WSAGetLastError());
        return;
    }
    while (!Signalled(stop_.get())) {
        const OwnedSocket client(accept(listener_.get(), nullptr, nullptr));
        if (!client) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) Fail(L"accept", error);
            if (!WaitForSocket(listener_.get(), acceptable.get(), stop_.get())) return;
            continue;
        }
        clients_.fetch_add(1);
        ServeClient(client.get());
    }
}

void VirtualMouseServer::ServeClient(Socket client) {
    OwnedHandle readable(WSACreateEvent());
    if (!readable || WSAEventSelect(client, readable.get(), FD_READ | FD_CLOSE) == SOCKET_ERROR) {
        Fail(L"WSAEventSelect", WSAGetLastError());
        return;
    }
    std::string line;
    bool tooLong = false;
    std::vector<char> chunk(kReceiveChunk);
    while (!Signalled(stop_.get())) {
        const int got = recv(client, chunk.data(), static_cast<int>(chunk.size()), 0);
        if (got == 0) return;  // the client left; a line it did not finish is dropped
        if (got == SOCKET_ERROR) {
            if (WSAGetLastError() != WSAEWOULDBLOCK) return;
            if (!WaitForSocket(client, readable.get(), stop_.get())) return;
            continue;
        }
        for (int i = 0; i < got; ++i) {
            const char c = chunk[static_cast<std::size_t>(i)];
            if (c != '\n') {
                // A line longer than any command is not kept: its rest is skipped up to its end.
                if (tooLong) continue;
                if (line.size() >= kMaxServedLine) {
                    tooLong = true;
                    line.clear();
                    line.shrink_to_fit();
                } else {
                    line += c;
                }
                continue;
            }
            std::string answer;
            if (tooLong) {
                answer = "ERR line too long\n";
            } else {
                for (const std::string& each : RunVirtualMouseCommand(mouse_, line)) answer += each + "\n";
            }
            line.clear();
            tooLong = false;
            if (!SendAll(client, answer)) return;
        }
    }
}

bool VirtualMouseServer::SendAll(Socket client, std::string_view bytes) {
    const DWORD start = GetTickCount();
    while (!bytes.empty()) {
        const int count = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
        const int sent = send(client, bytes.data(), count, 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        // A client that stopped reading is given a while, then dropped; one that left is dropped.
        if (WSAGetLastError() != WSAEWOULDBLOCK || GetTickCount() - start > kSendPatienceMs) return false;
        if (Signalled(stop_.get())) return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(static_cast<SOCKET>(client), &writable);
        timeval wait{0, 50 * 1000};
        select(0, nullptr, &writable, nullptr, &wait);
    }
    return true;
}

LineLog::LineLog(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)),
      openError_(file_ ? 0 : GetLastError()) {}

void LineLog::Append(std::string_view line) {
    if (!file_) return;
    std::string bytes(line);
    bytes += '\n';
    std::lock_guard<std::mutex> hold(mutex_);
    // Unbuffered on our side: the line is in the system's hands when this returns.
    DWORD written = 0;
    WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
