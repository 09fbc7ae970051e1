#include "device/feature_report.h"

#include <algorithm>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "support/fake_hid.h"

namespace {
// A link whose write interface declares the given feature report length.
struct Rig {
    explicit Rig(std::uint16_t featureLength = 9, bool openFails = false) {
        port.listing = {MouseInput(), Interface(u"w", kMouseVendorId, kMouseProductId, kFeatureUsagePage,
                                                kVendorUsage, 9, featureLength)};
        if (openFails) port.failingOpens = {u"w"};
        DiscoverDevice(port, link);
    }
    std::vector<Bytes> Sent() { return port.device->Sent(); }

    FakeHidPort port;
    DeviceLink link;
    FeatureReportSender sender{link};
};
}  // namespace

TEST(FeatureReport, DpiLedByteIsEightBitArithmetic) {
    EXPECT_EQ(DpiLedByte(0, 3), 0x83);
    EXPECT_EQ(DpiLedByte(1, 3), 0x93);
    EXPECT_EQ(DpiLedByte(2, 0), 0xA0);
    EXPECT_EQ(DpiLedByte(4, 3), 0xC3);
    EXPECT_EQ(DpiLedByte(200, 3), 0x03);  // (208 * 16 + 3) mod 256
    EXPECT_EQ(DpiLedByte(8, 255), 0xFF);  // 0x00 + 0xFF
}

TEST(FeatureReport, EveryCommandSendsItsExactBytes) {
    Rig rig;
    EXPECT_TRUE(rig.sender.SendFireInterval(50));
    rig.sender.SendFireInterval(7);
    rig.sender.SendFireInterval(300);
    rig.sender.SendFireInterval(-8);  // -1, low byte
    rig.sender.SendButtonMapping(5, 31);
    rig.sender.SendWheelMode(1);
    rig.sender.SendDpiLed(1, DpiLedByte(2, 0));
    rig.sender.SendExit();
    EXPECT_EQ(rig.Sent(), (std::vector<Bytes>{
                              {0x07, 0x12, 0x06, 0, 0, 0, 0, 0, 0},
                              {0x07, 0x12, 0x00, 0, 0, 0, 0, 0, 0},
                              {0x07, 0x12, 0x25, 0, 0, 0, 0, 0, 0},
                              {0x07, 0x12, 0xFF, 0, 0, 0, 0, 0, 0},
                              {0x07, 0x10, 0x05, 0x1F, 0, 0, 0, 0, 0},
                              {0x07, 0x11, 0x01, 0x00, 0, 0, 0, 0, 0},
                              {0x07, 0x09, 0x01, 0xA0, 0, 0, 0, 0, 0},
                              {0x07, 0x20, 0x00, 0x00, 0, 0, 0, 0, 0},
                          }));

    // Past its parameters every report is zeros, up to the longest report there is room for.
    Rig longReports(kReportBufferSize);
    longReports.sender.SendButtonMapping(5, 31);
    longReports.sender.SendWheelMode(1);
    longReports.sender.SendDpiLed(1, DpiLedByte(2, 0));
    longReports.sender.SendFireInterval(300);
    longReports.sender.SendExit();
    ASSERT_EQ(longReports.Sent().size(), 5u);
    for (const Bytes& report : longReports.Sent()) {
        ASSERT_EQ(report.size(), kReportBufferSize);
        EXPECT_EQ(std::count(report.begin() + 4, report.end(), 0), static_cast<long>(kReportBufferSize - 4))
            << HexLine(report);
    }
}

TEST(FeatureReport, SendsTheDeclaredLengthBoundedToTheBuffer) {
    Rig shortReports(2);
    shortReports.sender.SendButtonMapping(1, 1);
    EXPECT_EQ(shortReports.Sent(), (std::vector<Bytes>{{0x07, 0x10}}));

    Rig longReports(1000);
    EXPECT_EQ(longReports.link.FeatureReportLength(), kReportBufferSize);
    longReports.sender.SendDpiLed(0, 0x83);
    ASSERT_EQ(longReports.Sent().size(), 1u);
    EXPECT_EQ(longReports.Sent()[0], Padded({0x07, 0x09, 0x00, 0x83}, kReportBufferSize));
}

TEST(FeatureReport, NothingGoesOutWithoutAnOpenWriteHandle) {
    DeviceLink nothingFound;
    FeatureReportSender sender(nothingFound);
    EXPECT_FALSE(sender.SendExit());
    EXPECT_FALSE(sender.SendButtonMapping(1, 1));

    Rig failedOpen(9, true);
    EXPECT_EQ(failedOpen.link.WriteHandle().state, HandleState::Invalid);
    EXPECT_FALSE(failedOpen.sender.SendExit());
    EXPECT_FALSE(failedOpen.sender.SendFireInterval(50));
    EXPECT_TRUE(failedOpen.Sent().empty());

    Rig refused;
    refused.port.device->sendsFail = true;
    EXPECT_FALSE(refused.sender.SendWheelMode(0));
}

TEST(FeatureReport, TwoThreadsSendingNeverMixTheirBytes) {
    Rig rig;
    constexpr int kEach = 2000;
    std::thread mapper([&] {
        for (int i = 0; i < kEach; ++i) rig.sender.SendButtonMapping(static_cast<std::uint8_t>(i % 8 + 1), 31);
    });
    std::thread stepper([&] {
        for (int i = 0; i < kEach; ++i) rig.sender.SendFireInterval(8 * (i % 30));
    });
    mapper.join();
    stepper.join();
    const std::vector<Bytes> sent = rig.Sent();
    ASSERT_EQ(sent.size(), 2u * kEach);
    for (const Bytes& report : sent) {
        const bool mapping = report[1] == 0x10 && report[2] >= 1 && report[2] <= 8 && report[3] == 31;
        const bool fire = report[1] == 0x12 && report[2] < 30 && report[3] == 0;
        ASSERT_TRUE(report[0] == 0x07 && (mapping || fire)) << HexLine(report);
        for (std::size_t i = 4; i < report.size(); ++i) ASSERT_EQ(report[i], 0) << HexLine(report);
    }
}

TEST(FeatureReport, TheExitIsTheLastReportAfterACloseOrACrash) {
    Rig closed;
    EXPECT_TRUE(closed.sender.SendExit());
    EXPECT_FALSE(closed.sender.SendDpiLed(1, 0x93));  // an apply still under way
    EXPECT_FALSE(closed.sender.SendExitAfterCrash());
    EXPECT_EQ(closed.Sent(), (std::vector<Bytes>{{0x07, 0x20, 0, 0, 0, 0, 0, 0, 0}}));

    // The crash's exit has its own zeroed bytes, whatever the sender's buffer last held.
    Rig crashed(kReportBufferSize);
    crashed.sender.SendWheelMode(1);
    EXPECT_TRUE(crashed.sender.SendExitAfterCrash());
    EXPECT_FALSE(crashed.sender.SendWheelMode(1));
    EXPECT_FALSE(crashed.sender.SendExitAfterCrash());
    ASSERT_EQ(crashed.Sent().size(), 2u);
    EXPECT_EQ(crashed.Sent()[1], Padded({0x07, 0x20}, kReportBufferSize));

    Rig failedOpen(9, true);
    EXPECT_FALSE(failedOpen.sender.SendExitAfterCrash());
}
