#include "device/discovery.h"

#include <gtest/gtest.h>

#include "support/fake_hid.h"

namespace {
std::vector<int> Range(int from, int to) {
    std::vector<int> all;
    for (int i = from; i <= to; ++i) all.push_back(i);
    return all;
}
}  // namespace

TEST(Discovery, StopsRightAfterBothVendorInterfaces) {
    FakeHidPort port;
    port.listing = {OtherDevice(), MouseInput(u"in"), MouseFeature(u"out"), OtherDevice(u"later")};
    DeviceLink link;
    EXPECT_TRUE(DiscoverDevice(port, link));
    EXPECT_TRUE(link.DevicePresent());
    EXPECT_EQ(port.examined, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(port.opens, (std::vector<std::pair<std::u16string, HidAccess>>{{u"in", HidAccess::Read},
                                                                            {u"out", HidAccess::Write}}));
    EXPECT_TRUE(link.ReadHandle().IsOpen());
    EXPECT_TRUE(link.WriteHandle().IsOpen());
    EXPECT_EQ(link.DevicePath(), u"out");
    EXPECT_EQ(port.registrations, 2);  // one per matching interface; the port keeps one
    EXPECT_EQ(link.InputReportLength(), 9);
    EXPECT_EQ(link.FeatureReportLength(), 9);
}

TEST(Discovery, FindsInterfacesAnywhereInTheHundredIndexesButNotBeyond) {
    FakeHidPort late;
    late.listing.resize(100);  // empty entries: enumeration fails there, the loop goes on
    late.listing[50] = OtherDevice();
    late.listing[98] = MouseFeature();
    late.listing[99] = MouseInput();
    DeviceLink link;
    EXPECT_TRUE(DiscoverDevice(late, link));
    EXPECT_EQ(late.examined, Range(0, 99));

    FakeHidPort beyond;
    beyond.listing.resize(101);
    beyond.listing[0] = MouseInput();
    beyond.listing[100] = MouseFeature();
    DeviceLink other;
    EXPECT_FALSE(DiscoverDevice(beyond, other));
    EXPECT_EQ(beyond.examined, Range(0, 99));
    EXPECT_EQ(other.WriteHandle().state, HandleState::Null);
}

TEST(Discovery, OneVendorInterfaceAloneIsNotTheMouse) {
    // The list ends on another interface of the mouse itself; still only one vendor interface.
    FakeHidPort port;
    port.listing = {MouseInput(u"in"), OtherDevice(),
                    Interface(u"pointer", kMouseVendorId, kMouseProductId, 0x0001, 0x0002)};
    DeviceLink link;
    EXPECT_FALSE(DiscoverDevice(port, link));
    EXPECT_FALSE(link.DevicePresent());
    EXPECT_EQ(port.examined, Range(0, 99));
    EXPECT_TRUE(link.ReadHandle().IsOpen());
    EXPECT_EQ(link.WriteHandle().state, HandleState::Null);
    EXPECT_EQ(link.DevicePath(), u"pointer");

    FakeHidPort writeOnly;
    writeOnly.listing = {MouseFeature()};
    DeviceLink other;
    EXPECT_FALSE(DiscoverDevice(writeOnly, other));
    EXPECT_EQ(other.ReadHandle().state, HandleState::Null);
}

TEST(Discovery, PassesOverEverythingThatIsNotTheMouse) {
    FakeHidPort port;
    HidInterfaceInfo unreadable = MouseInput(u"unreadable");
    unreadable.attributes.reset();
    HidInterfaceInfo noCaps = MouseFeature(u"nocaps");
    noCaps.capabilities.reset();
    port.listing = {OtherDevice(u"same usage, other vendor"),
                    Interface(u"other product", kMouseVendorId, 0x0F98, kFeatureUsagePage, kVendorUsage),
                    Interface(u"other usage", kMouseVendorId, kMouseProductId, kInputUsagePage, 2),
                    unreadable,
                    noCaps};
    DeviceLink link;
    EXPECT_FALSE(DiscoverDevice(port, link));
    EXPECT_EQ(link.ReadHandle().state, HandleState::Null);
    EXPECT_EQ(link.WriteHandle().state, HandleState::Null);
    EXPECT_TRUE(port.opens.empty());
    EXPECT_EQ(port.registrations, 2);  // "other usage" and "nocaps" are the mouse's
}

TEST(Discovery, NoMouseLeavesTheLinkEmpty) {
    FakeHidPort port;
    port.listing = {OtherDevice()};
    DeviceLink link;
    EXPECT_FALSE(DiscoverDevice(port, link));
    EXPECT_EQ(link.DevicePath(), u"");
    EXPECT_EQ(port.registrations, 0);

    FakeHidPort broken;
    broken.enumerationFails = true;
    EXPECT_FALSE(DiscoverDevice(broken, link));
}

TEST(Discovery, AFailedOpenIsAnInvalidHandleAndStillFindsTheMouse) {
    FakeHidPort port;
    port.listing = {MouseInput(u"in"), MouseFeature(u"out")};
    port.failingOpens = {u"out"};
    DeviceLink link;
    EXPECT_TRUE(DiscoverDevice(port, link));
    EXPECT_EQ(link.WriteHandle().state, HandleState::Invalid);
    EXPECT_EQ(link.WriteHandle().handle, nullptr);
    EXPECT_TRUE(link.ReadHandle().IsOpen());
}

TEST(Discovery, ReportLengthsAreBoundedToTheBuffers) {
    FakeHidPort port;
    port.listing = {Interface(u"in", kMouseVendorId, kMouseProductId, kInputUsagePage, kVendorUsage, 4000, 0),
                    Interface(u"out", kMouseVendorId, kMouseProductId, kFeatureUsagePage, kVendorUsage, 0, 65535)};
    DeviceLink link;
    EXPECT_TRUE(DiscoverDevice(port, link));
    EXPECT_EQ(link.InputReportLength(), kReportBufferSize);
    EXPECT_EQ(link.FeatureReportLength(), kReportBufferSize);
}

TEST(Discovery, RediscoveryOpensFreshHandlesWhateverTheOldOnesWere) {
    FakeHidPort port;
    port.listing = {MouseInput(u"in")};  // the second interface has not arrived yet
    DeviceLink link;
    EXPECT_FALSE(DiscoverDevice(port, link));
    const std::uint64_t first = link.Generation();

    port.listing = {MouseInput(u"in"), MouseFeature(u"out")};
    port.opens.clear();
    EXPECT_TRUE(DiscoverDevice(port, link));
    EXPECT_GT(link.Generation(), first);
    EXPECT_EQ(port.opens.size(), 2u);

    // Gone, then back: old handles must not end the new search at its first index.
    port.listing = {};
    EXPECT_FALSE(DiscoverDevice(port, link));
    EXPECT_EQ(link.ReadHandle().state, HandleState::Null);
    EXPECT_EQ(link.DevicePath(), u"out");  // the last path known stays for removal notices

    port.listing = {OtherDevice(), MouseFeature(u"out2"), MouseInput(u"in2")};
    port.examined.clear();
    EXPECT_TRUE(DiscoverDevice(port, link));
    EXPECT_EQ(port.examined, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(link.DevicePath(), u"in2");
}

TEST(Discovery, RecognisesNotificationsOfTheMouseOnly) {
    FakeHidPort port;
    port.listing = {MouseInput(u"\\\\?\\HID#VID_18F8&PID_0F99&Col01"),
                    MouseFeature(u"\\\\?\\HID#VID_18F8&PID_0F99&Col02#Ä")};
    DeviceLink link;
    EXPECT_FALSE(IsOurDevice(link, kDeviceInterfaceType, u""));  // nothing found yet: nothing is ours
    DiscoverDevice(port, link);
    EXPECT_TRUE(IsOurDevice(link, kDeviceInterfaceType, u"\\\\?\\hid#vid_18f8&pid_0f99&col02#Ä"));
    EXPECT_TRUE(IsOurDevice(link, kDeviceInterfaceType, u"\\\\?\\HID#VID_18F8&PID_0F99&COL02#Ä"));
    // Only A to Z fold.
    EXPECT_FALSE(IsOurDevice(link, kDeviceInterfaceType, u"\\\\?\\HID#VID_18F8&PID_0F99&Col02#ä"));
    EXPECT_FALSE(IsOurDevice(link, 2, u"\\\\?\\HID#VID_18F8&PID_0F99&Col02#Ä"));
    EXPECT_FALSE(IsOurDevice(link, kDeviceInterfaceType, u"\\\\?\\HID#VID_18F8&PID_0F99&Col01"));
    EXPECT_FALSE(IsOurDevice(link, kDeviceInterfaceType, u"\\\\?\\HID#VID_18F8&PID_0F99&Col02#Ä "));
}
