// What a device notification means for the mouse: an interface that arrives while the mouse is
// missing may be it, so the mouse is searched for again; the mouse's own removal ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "device/discovery.h"

enum class DeviceChangeEvent { Arrival, RemoveComplete, Other };

// The interface a notification names.
struct ChangedInterface {
    std::uint32_t deviceType = 0;
    bool hidClass = false;  // its class is the HID class
    std::u16string name;
};

enum class DeviceChangeOutcome {
    Nothing,
    Rediscovered,  // a HID interface arrived while the mouse was missing; discovery ran again
    MouseRemoved,  // the mouse left: the window ends the program, without the close steps
};

// Decides and carries out: rediscover runs the discovery; a removal of the mouse clears
// DevicePresent.
DeviceChangeOutcome OnDeviceChange(DeviceLink& link, DeviceChangeEvent event, const ChangedInterface& changed,
                                   const std::function<void()>& rediscover);
