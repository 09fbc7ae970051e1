#include <gtest/gtest.h>

#include "device/device_change.h"

namespace {

constexpr char16_t kMousePath[] = u"\\\\?\\hid#vid_18f8&pid_0f99&col02#1#{x}";

TEST(DeviceChange, ArrivalsRediscoverOnlyWhileTheMouseIsMissingAndOnlyItsRemovalEndsTheProgram) {
    DeviceLink link;
    int discoveries = 0;
    const auto rediscover = [&] { ++discoveries; };
    const ChangedInterface otherHid{kDeviceInterfaceType, true, u"\\\\?\\hid#vid_0001&pid_0002#1#{x}"};
    const ChangedInterface otherDevice{kDeviceInterfaceType, false, u"\\\\?\\usb#vid_0001"};

    // Never found yet: there is no path to recognise, so any HID arrival may be the mouse.
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::Arrival, otherHid, rediscover), DeviceChangeOutcome::Rediscovered);
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::Arrival, otherDevice, rediscover), DeviceChangeOutcome::Nothing);
    EXPECT_EQ(discoveries, 1);

    DeviceLink::Discovered found;
    found.devicePath = kMousePath;
    found.present = true;
    link.Install(found);
    // Present: arrivals change nothing, removals of other interfaces neither.
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::Arrival, otherHid, rediscover), DeviceChangeOutcome::Nothing);
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::RemoveComplete, otherHid, rediscover), DeviceChangeOutcome::Nothing);
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::Other, {kDeviceInterfaceType, true, kMousePath}, rediscover),
              DeviceChangeOutcome::Nothing);
    EXPECT_TRUE(link.DevicePresent());

    // The mouse's removal, named in another letter case.
    const ChangedInterface mouseUpper{kDeviceInterfaceType, true, u"\\\\?\\HID#VID_18F8&PID_0F99&COL02#1#{X}"};
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::RemoveComplete, mouseUpper, rediscover),
              DeviceChangeOutcome::MouseRemoved);
    EXPECT_FALSE(link.DevicePresent());
    // Missing again: its own path arriving is looked for, even outside the HID class.
    EXPECT_EQ(OnDeviceChange(link, DeviceChangeEvent::Arrival, {kDeviceInterfaceType, false, kMousePath}, rediscover),
              DeviceChangeOutcome::Rediscovered);
    EXPECT_EQ(discoveries, 2);
}

}  // namespace
