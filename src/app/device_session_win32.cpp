#include "app/device_session_win32.h"

#include "platform/message_box_win32.h"
#include "device/device_broadcast_win32.h"
#include "platform/growing_buffer_win32.h"
#include "platform/window_framework_win32.h"

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
    if (virtual_) virtual_->SetNotificationCallback(nullptr);
}
