#include "device/hid_backend_win32.h"

#include <dbt.h>
#include <setupapi.h>
// MinGW's HID headers declare the functions without C linkage.
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <stop_token>
#include <vector>

#include "platform/wide_text_win32.h"

namespace {
// A device interface path is short; a larger "required size" would be a broken answer.
constexpr DWORD kMaxDetailBytes = 64 * 1024;

// A manual-reset event, not signalled; a failure is recorded while its error is still current.
OwnedHandle NewEvent(HidErrorRecord& errors) {
    OwnedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) errors.Record(L"CreateEventW", GetLastError());
    return event;
}

std::optional<HidCapabilities> CapabilitiesOf(HANDLE device) {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(device, &preparsed)) return std::nullopt;
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS) return std::nullopt;
    return HidCapabilities{caps.UsagePage, caps.Usage, caps.InputReportByteLength, caps.FeatureReportByteLength};
}

class Win32HidHandle : public HidHandle {
public:
    Win32HidHandle(OwnedHandle file, std::size_t inputLength, std::shared_ptr<HidErrorRecord> errors)
        : file_(std::move(file)), inputLength_(inputLength), errors_(std::move(errors)) {}

    bool SendFeatureReport(std::span<const std::uint8_t> report) override {
        if (report.empty()) return false;
        // HidD_SetFeature takes a writable buffer.
        std::vector<std::uint8_t> copy(report.begin(), report.end());
        if (HidD_SetFeature(file_.get(), copy.data(), static_cast<ULONG>(copy.size()))) return true;
        errors_->Record(L"HidD_SetFeature", GetLastError());
        return false;
    }

    std::optional<std::size_t> ReadInputReport(std::span<std::uint8_t> buffer, std::stop_token stop) override {
        if (buffer.empty()) return std::nullopt;
        OwnedHandle done = NewEvent(*errors_);
        if (!done) return std::nullopt;
        OwnedHandle stopped = NewEvent(*errors_);
        if (!stopped) return std::nullopt;
        std::stop_callback onStop(stop, [&stopped] { SetEvent(stopped.get()); });
        if (stop.stop_requested()) return std::nullopt;

        // The driver refuses a buffer shorter than the interface's report, so a report longer
        // than the caller's buffer is read whole and cut.
        std::vector<std::uint8_t> report(std::max(buffer.size(), inputLength_));
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        if (!ReadFile(file_.get(), report.data(), static_cast<DWORD>(report.size()), nullptr, &overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                errors_->Record(L"ReadFile", error);
                return std::nullopt;
            }
        }
        const HANDLE waits[2] = {done.get(), stopped.get()};
        DWORD got = 0;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
            // The read must be over before its buffer and record go away.
            CancelIoEx(file_.get(), &overlapped);
            GetOverlappedResult(file_.get(), &overlapped, &got, TRUE);
            return std::nullopt;
        }
        if (!GetOverlappedResult(file_.get(), &overlapped, &got, FALSE)) {
            errors_->Record(L"ReadFile", GetLastError());
            return std::nullopt;
        }
        const std::size_t count = std::min<std::size_t>({got, report.size(), buffer.size()});
        std::copy_n(report.begin(), count, buffer.begin());
        return count;
    }

private:
    OwnedHandle file_;
    std::size_t inputLength_;
    std::shared_ptr<HidErrorRecord> errors_;
};

class Win32HidEnumeration : public HidEnumeration {
public:
    Win32HidEnumeration(OwnedDeviceInfoSet set, GUID guid, std::shared_ptr<HidErrorRecord> errors)
        : set_(std::move(set)), guid_(guid), errors_(std::move(errors)) {}

    std::optional<HidInterfaceInfo> Interface(int memberIndex) override {
        if (memberIndex < 0) return std::nullopt;
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof(data);
        if (!SetupDiEnumDeviceInterfaces(set_.get(), nullptr, &guid_, static_cast<DWORD>(memberIndex), &data)) {
            // The end of the list is no failure worth keeping.
            const DWORD error = GetLastError();
            if (error != ERROR_NO_MORE_ITEMS) errors_->Record(L"SetupDiEnumDeviceInterfaces", error);
            return std::nullopt;
        }
        const std::optional<std::u16string> path = PathOf(data);
        if (!path) return std::nullopt;

        HidInterfaceInfo info;
        info.path = *path;
        // Access 0 opens even interfaces that others hold exclusively (keyboards, mice): enough
        // to ask for identity and capabilities. The probe is closed when this returns.
        const std::wstring probePath = ToWide(info.path);  // freed only after the error is read
        OwnedHandle probe(CreateFileW(probePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        if (!probe) {
            errors_->Record(L"CreateFileW", GetLastError());
            return info;
        }
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof(attributes);
        if (HidD_GetAttributes(probe.get(), &attributes)) {
            info.attributes = HidAttributes{attributes.VendorID, attributes.ProductID};
        } else {
            errors_->Record(L"HidD_GetAttributes", GetLastError());
        }
        info.capabilities = CapabilitiesOf(probe.get());
        return info;
    }

private:
    std::optional<std::u16string> PathOf(SP_DEVICE_INTERFACE_DATA& data) {
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, nullptr, 0, &required, nullptr);
        const DWORD fixed = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
        if (required <= fixed || required > kMaxDetailBytes) {
            errors_->Record(L"SetupDiGetDeviceInterfaceDetailW", GetLastError());
            return std::nullopt;
        }
        // Aligned for the record; cbSize is the size of the fixed part as this (64-bit) build
        // sees it, not the path's length.
        std::vector<std::uint64_t> storage((required + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, detail, required, nullptr, nullptr)) {
            errors_->Record(L"SetupDiGetDeviceInterfaceDetailW", GetLastError());
            return std::nullopt;
        }
        const std::size_t maxChars = (required - fixed) / sizeof(wchar_t);
        return FromWide(std::wstring_view(detail->DevicePath, wcsnlen(detail->DevicePath, maxChars)));
    }

    OwnedDeviceInfoSet set_;
    GUID guid_;
    std::shared_ptr<HidErrorRecord> errors_;
};
}  // namespace

std::unique_ptr<HidHandle> MakeHidFileHandle(OwnedHandle file, std::size_t inputReportLength,
                                             std::shared_ptr<HidErrorRecord> errors) {
    if (!errors) errors = std::make_shared<HidErrorRecord>();
    return std::make_unique<Win32HidHandle>(std::move(file), inputReportLength, std::move(errors));
}

GUID HidClassGuid() {
    GUID guid{};
    HidD_GetHidGuid(&guid);
    return guid;
}

std::wstring DescribeSystemError(const wchar_t* operation, DWORD code) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring message(text, std::min<std::size_t>(length, std::size(text)));
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
        message.pop_back();
    }
    std::wstring line = std::wstring(operation) + L": (" + std::to_wstring(code) + L")";
    if (!message.empty()) line += L" " + message;
    return line;
}

void HidErrorRecord::Record(const wchar_t* operation, DWORD code) {
    std::wstring line = DescribeSystemError(operation, code);
    std::lock_guard<std::mutex> hold(mutex_);
    last_ = std::move(line);
}

std::wstring HidErrorRecord::Last() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return last_;
}

Win32HidPort::Win32HidPort() : errors_(std::make_shared<HidErrorRecord>()) {}

void Win32HidPort::SetNotificationWindow(HWND window) {
    std::lock_guard<std::mutex> hold(mutex_);
    window_ = window;
}

std::unique_ptr<HidEnumeration> Win32HidPort::Enumerate() {
    const GUID guid = HidClassGuid();
    OwnedDeviceInfoSet set(SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set) {
        errors_->Record(L"SetupDiGetClassDevsW", GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32HidEnumeration>(std::move(set), guid, errors_);
}

std::unique_ptr<HidHandle> Win32HidPort::Open(const std::u16string& path, HidAccess access) {
    const bool read = access == HidAccess::Read;
    // Reads are overlapped so that a stop request can cancel one that waits for the mouse.
    const std::wstring widePath = ToWide(path);  // freed only after the error is read
    OwnedHandle file(CreateFileW(widePath.c_str(), read ? GENERIC_READ : GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 read ? FILE_FLAG_OVERLAPPED : 0, nullptr));
    if (!file) {
        errors_->Record(L"CreateFileW", GetLastError());
        return nullptr;
    }
    std::size_t inputLength = 0;
    if (read) {
        if (const std::optional<HidCapabilities> caps = CapabilitiesOf(file.get())) inputLength = caps->inputReportLength;
    }
    return MakeHidFileHandle(std::move(file), inputLength, errors_);
}

void Win32HidPort::RegisterDeviceNotifications() {
    std::lock_guard<std::mutex> hold(mutex_);
    // Every registration would deliver its own copy of each notification.
    if (notification_) return;
    if (!window_) {
        errors_->Record(L"RegisterDeviceNotificationW", ERROR_INVALID_WINDOW_HANDLE);
        return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = HidClassGuid();
    notification_.reset(RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    if (!notification_) errors_->Record(L"RegisterDeviceNotificationW", GetLastError());
}

bool Win32HidPort::NotificationsRegistered() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return static_cast<bool>(notification_);
}
