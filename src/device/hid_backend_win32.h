// The HID port on Windows: the HID class's device interfaces through SetupDi, identity and
// capabilities through HidD/HidP, feature reports with HidD_SetFeature, input reports with
// overlapped reads that a stop request cancels, and device notifications for the main window.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "device/hid_port.h"
#include "platform/handles_win32.h"

// The last failure seen by a port and the handles it opened, for whoever debugs a mouse that
// does not answer: "operation: (code) system text".
class HidErrorRecord {
public:
    void Record(const wchar_t* operation, DWORD code);
    std::wstring Last() const;

private:
    mutable std::mutex mutex_;
    std::wstring last_;
};

// The device interface class of HID devices (HidD_GetHidGuid).
GUID HidClassGuid();

// "operation: (code) system text", the text as FormatMessageW gives it without its line end.
std::wstring DescribeSystemError(const wchar_t* operation, DWORD code);

// A HidHandle over an open device file. Reads need a file opened with FILE_FLAG_OVERLAPPED;
// they take whole reports of inputReportLength bytes (or the caller's buffer size, if larger)
// and hand out what fits the caller's buffer.
std::unique_ptr<HidHandle> MakeHidFileHandle(OwnedHandle file, std::size_t inputReportLength,
                                             std::shared_ptr<HidErrorRecord> errors);

class Win32HidPort : public HidPort {
public:
    Win32HidPort();
    Win32HidPort(const Win32HidPort&) = delete;
    Win32HidPort& operator=(const Win32HidPort&) = delete;

    // The window that receives WM_DEVICECHANGE once notifications are registered.
    void SetNotificationWindow(HWND window);

    std::unique_ptr<HidEnumeration> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override;
    // One registration for the HID class, whichever interface asks first; repeats are ignored.
    void RegisterDeviceNotifications() override;

    bool NotificationsRegistered() const;
    // The last failure, or empty.
    std::wstring LastError() const { return errors_->Last(); }

private:
    std::shared_ptr<HidErrorRecord> errors_;
    mutable std::mutex mutex_;
    HWND window_ = nullptr;
    OwnedDeviceNotification notification_;
};
