#include "app/virtual_mouse_session_win32.h"

#include "platform/message_box_win32.h"
#include "platform/wide_text_win32.h"

namespace {
void TellUser(const std::wstring& text) { MessageBoxPort(ApplicationName(), nullptr, MB_OK | MB_ICONERROR).Show(text); }
}  // namespace

VirtualMouseSession::VirtualMouseSession(std::shared_ptr<VirtualMouse> mouse) : DeviceSession(std::move(mouse)) {}

VirtualMouseSession::~VirtualMouseSession() { Stop(); }

bool VirtualMouseSession::Serve(std::uint16_t port) {
    if (server_) return false;
    server_ = std::make_unique<VirtualMouseServer>(*Virtual());
    return server_->Start(port);
}

bool VirtualMouseSession::LogFeatureReports(const std::wstring& path) {
    auto log = std::make_shared<LineLog>(path);
    if (!log->IsOpen()) {
        logError_ = DescribeSystemError(L"CreateFileW", log->OpenError());
        return false;
    }
    log_ = log;
    // Called with the mouse's lock held: the log only writes.
    Virtual()->SetFeatureLog([log](const std::string& line) { log->Append(line); });
    return true;
}

std::wstring VirtualMouseSession::LastError() const {
    if (!logError_.empty()) return logError_;
    return server_ ? server_->LastError() : std::wstring();
}

void VirtualMouseSession::Stop() {
    // Commands of the server call into the mouse and the window: they end first.
    if (server_) server_->Stop();
    Virtual()->SetFeatureLog(nullptr);
    DeviceSession::Stop();
}

std::unique_ptr<DeviceSession> CreateVirtualMouseSession(const CommandLineOptions& options) {
    auto session = std::make_unique<VirtualMouseSession>();
    if (!options.virtualMouseLog.empty() && !session->LogFeatureReports(ToWide(options.virtualMouseLog))) {
        TellUser(L"Cannot open the virtual mouse's log file " + ToWide(options.virtualMouseLog) + L": " +
                 session->LastError());
        return nullptr;
    }
    if (!session->Serve(options.virtualMousePort.value_or(0))) {
        TellUser(L"Cannot serve the virtual mouse on 127.0.0.1:" + std::to_wstring(options.virtualMousePort.value_or(0)) +
                 L": " + session->LastError());
        return nullptr;
    }
    return session;
}
