// WM_DEVICECHANGE in the terms of the portable decision (device/device_change.h).
#pragma once

#include <windows.h>

#include <optional>

#include "device/device_change.h"

DeviceChangeEvent DeviceChangeEventOf(WPARAM event);

// The interface a broadcast header describes: nothing for a null header, another kind of
// device, or a record too short for its fields. The name never reads past the record's size.
std::optional<ChangedInterface> BroadcastInterfaceOf(LPARAM header);
