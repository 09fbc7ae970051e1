// The HID backend under Wine (which has no mouse): enumeration, notifications, overlapped reads
// that a stop request ends, and the device records of WM_DEVICECHANGE.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "device/device_broadcast_win32.h"
#include "device/hid_backend_win32.h"
#include "win32/support.h"

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
