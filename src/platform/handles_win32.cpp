// The releases whose declarations would drag large headers into every user of the owners.
#include "platform/handles_win32.h"

#include <setupapi.h>

#include <type_traits>

static_assert(std::is_same_v<HDEVINFO, DeviceInfoSetTraits::Handle>);

void DeviceInfoSetTraits::Release(Handle h) { SetupDiDestroyDeviceInfoList(h); }
