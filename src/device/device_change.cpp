#include "device/device_change.h"

DeviceChangeOutcome OnDeviceChange(DeviceLink& link, DeviceChangeEvent event, const ChangedInterface& changed,
                                   const std::function<void()>& rediscover) {
    switch (event) {
        case DeviceChangeEvent::Arrival:
            if (link.DevicePresent()) return DeviceChangeOutcome::Nothing;
            // Before the mouse was ever found its path is unknown, so no arrival could be
            // recognised as the mouse's: any HID interface that arrives while it is missing may be it.
            if (!changed.hidClass && !IsOurDevice(link, changed.deviceType, changed.name)) {
                return DeviceChangeOutcome::Nothing;
            }
            if (rediscover) rediscover();
            return DeviceChangeOutcome::Rediscovered;
        case DeviceChangeEvent::RemoveComplete:
            if (!IsOurDevice(link, changed.deviceType, changed.name)) return DeviceChangeOutcome::Nothing;
            link.SetDevicePresent(false);
            return DeviceChangeOutcome::MouseRemoved;
        case DeviceChangeEvent::Other: break;
    }
    return DeviceChangeOutcome::Nothing;
}
