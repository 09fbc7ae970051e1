#include "device/device_broadcast_win32.h"

#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <vector>

#include "device/hid_backend_win32.h"

namespace {
// A device interface name is a path; anything longer is not one.
constexpr std::size_t kMaxInterfaceNameChars = 32768;
}  // namespace

DeviceChangeEvent DeviceChangeEventOf(WPARAM event) {
    if (event == DBT_DEVICEARRIVAL) return DeviceChangeEvent::Arrival;
    if (event == DBT_DEVICEREMOVECOMPLETE) return DeviceChangeEvent::RemoveComplete;
    return DeviceChangeEvent::Other;
}

std::optional<ChangedInterface> BroadcastInterfaceOf(LPARAM header) {
    const auto* common = reinterpret_cast<const DEV_BROADCAST_HDR*>(header);
    if (!common || common->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return std::nullopt;
    const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (common->dbch_size < nameOffset) return std::nullopt;
    const auto* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    ChangedInterface result;
    result.deviceType = record->dbcc_devicetype;
    result.hidClass = IsEqualGUID(record->dbcc_classguid, HidClassGuid()) != FALSE;
    // The name ends at its terminator or at the end of the record, whichever comes first.
    const std::size_t room = std::min<std::size_t>((common->dbch_size - nameOffset) / sizeof(wchar_t),
                                                   kMaxInterfaceNameChars);
    const std::size_t length = wcsnlen(record->dbcc_name, room);
    result.name.assign(record->dbcc_name, record->dbcc_name + length);
    return result;
}

LRESULT SendDeviceChange(HWND window, DeviceChange change, const std::u16string& path) {
    if (!window || !IsWindow(window)) return 0;
    const std::size_t bytes =
        offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (path.size() + 1) * sizeof(wchar_t);
    // Aligned storage, at least as large as the declared record.
    std::vector<std::uint64_t> storage(
        (std::max(bytes, sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    record->dbcc_size = static_cast<DWORD>(bytes);
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    record->dbcc_classguid = HidClassGuid();
    std::copy(path.begin(), path.end(), record->dbcc_name);
    record->dbcc_name[path.size()] = L'\0';
    const WPARAM event = change == DeviceChange::Arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    return SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record));
}
