#include "app/device_session_win32.h"

#include "app/command_line.h"
#include "platform/message_box_win32.h"
#include "device/device_broadcast_win32.h"
#include "platform/growing_buffer_win32.h"
#include "platform/window_framework_win32.h"

namespace {
void TellUser(const std::wstring& text) { MessageBoxPort(ApplicationName(), nullptr, MB_OK | MB_ICONERROR).Show(text); }
}  // namespace

std::wstring ApplicationName() {
    std::wstring name = ModuleFileName();
    if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) name.erase(0, slash + 1);
    if (const auto dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name.empty() ? std::wstring(L"HXT_GMouse") : name;
}

DeviceSession::DeviceSession() : hid_(std::make_unique<Win32HidPort>()) {}

DeviceSession::DeviceSession(std::shared_ptr<VirtualMouse> mouse) : virtual_(std::move(mouse)) {}

DeviceSession::~DeviceSession() { Stop(); }

HidPort& DeviceSession::Port() {
    if (virtual_) return *virtual_;
    return *hid_;
}

bool DeviceSession::ServeVirtualMouse(std::uint16_t port) {
    if (!virtual_ || server_) return false;
    server_ = std::make_unique<VirtualMouseServer>(*virtual_);
    return server_->Start(port);
}

bool DeviceSession::LogFeatureReports(const std::wstring& path) {
    if (!virtual_) return false;
    auto log = std::make_shared<LineLog>(path);
    if (!log->IsOpen()) {
        logError_ = DescribeSystemError(L"CreateFileW", log->OpenError());
        return false;
    }
    log_ = log;
    // Called with the mouse's lock held: the log only writes.
    virtual_->SetFeatureLog([log](const std::string& line) { log->Append(line); });
    return true;
}

std::wstring DeviceSession::LastError() const {
    if (!logError_.empty()) return logError_;
    if (hid_) return hid_->LastError();
    return server_ ? server_->LastError() : std::wstring();
}

void DeviceSession::NotifyWindow(HWND window) {
    if (hid_) hid_->SetNotificationWindow(window);
    if (virtual_) {
        // Plug and unplug run on the server's thread; the window hears of them as from Windows.
        virtual_->SetNotificationCallback([window](DeviceChange change, const std::u16string& path) {
            SendDeviceChange(window, change, path);
        });
    }
}

bool DeviceSession::Discover(DeviceLink& link) { return DiscoverDevice(Port(), link); }

DeviceChangeOutcome DeviceSession::OnDeviceChange(DeviceLink& link, WPARAM event, LPARAM header) {
    // Only arrivals and removals carry a device record to read.
    const DeviceChangeEvent kind = DeviceChangeEventOf(event);
    if (kind == DeviceChangeEvent::Other) return DeviceChangeOutcome::Nothing;
    const std::optional<ChangedInterface> changed = BroadcastInterfaceOf(header);
    if (!changed) return DeviceChangeOutcome::Nothing;
    return ::OnDeviceChange(link, kind, *changed, [&] { Discover(link); });
}

void DeviceSession::Stop() {
    // Commands of the server call into the mouse and the window: they end first.
    if (server_) server_->Stop();
    if (virtual_) {
        virtual_->SetNotificationCallback(nullptr);
        virtual_->SetFeatureLog(nullptr);
    }
}

std::unique_ptr<DeviceSession> CreateDeviceSession(const CommandLineOptions& options) {
    if (!options.virtualMousePort) return std::make_unique<DeviceSession>();

    auto session = std::make_unique<DeviceSession>(std::make_shared<VirtualMouse>());
    if (!options.virtualMouseLog.empty() && !session->LogFeatureReports(ToWide(options.virtualMouseLog))) {
        TellUser(L"Cannot open the virtual mouse's log file " + ToWide(options.virtualMouseLog) + L": " +
                 session->LastError());
        return nullptr;
    }
    if (!session->ServeVirtualMouse(*options.virtualMousePort)) {
        TellUser(L"Cannot serve the virtual mouse on 127.0.0.1:" + std::to_wstring(*options.virtualMousePort) +
                 L": " + session->LastError());
        return nullptr;
    }
    return session;
}
