// WM_DEVICECHANGE in the terms of the portable decision (device/device_change.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "device/device_change.h"
#include "device/virtual_mouse.h"  // DeviceChange

DeviceChangeEvent DeviceChangeEventOf(WPARAM event);

// The interface a broadcast header describes: nothing for a null header, another kind of
// device, or a record too short for its fields. The name never reads past the record's size.
std::optional<ChangedInterface> BroadcastInterfaceOf(LPARAM header);

// Sends window the WM_DEVICECHANGE of a device interface arriving or leaving: DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE with a DEV_BROADCAST_DEVICEINTERFACE_W of the HID class naming path.
// Sent, not posted, so the record lives until the window has handled it. The window's answer,
// or 0 when the window is gone.
LRESULT SendDeviceChange(HWND window, DeviceChange change, const std::u16string& path);
