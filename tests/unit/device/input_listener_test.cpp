#include "device/input_listener.h"

#include <atomic>

#include <gtest/gtest.h>

#include "support/eventually.h"
#include "support/fake_hid.h"

namespace {
InputEvent Feed(PressHandoff& handoff, Bytes report, std::int32_t macroMode2 = 0) {
    return HandleInputReport(report, macroMode2, handoff);
}

// A listener thread on a fake mouse, with counters of what it asked of the window.
struct ListenerRig {
    ListenerRig() { port.listing = {MouseInput(), MouseFeature()}; }
    void Start(std::chrono::milliseconds retryAfter = std::chrono::milliseconds(1000)) {
        listener = std::make_unique<InputListener>(InputListenerContext{
            link, handoff, published, [this] { ++invalidations; },
            [this] { ++threadStarts; }, retryAfter});
        listener->Start();
    }

    FakeHidPort port;
    DeviceLink link;
    PressHandoff handoff;
    PublishedConfig published;
    std::atomic<int> invalidations{0};
    std::atomic<int> threadStarts{0};
    std::unique_ptr<InputListener> listener;
};
}  // namespace

TEST(InputListener, WhileActiveAPressWaitsForTheExecutorAndRepeatsStopOrDrop) {
    PressHandoff handoff;
    EXPECT_EQ(Feed(handoff, {0x06, 0xF3}), InputEvent::PressPosted);
    EXPECT_EQ(handoff.PendingInput(), 1);
    EXPECT_EQ(handoff.PendingCode(), 0xF3);

    // Busy, MACRO_MODE2 0: pressing again stops the macro; the press itself is not queued.
    EXPECT_EQ(Feed(handoff, {0x06, 0xF1}, 0), InputEvent::StopRequested);
    EXPECT_EQ(handoff.StopRequest(), 1);
    EXPECT_EQ(handoff.PendingCode(), 0xF3);
    handoff.FinishPress();

    // Busy, MACRO_MODE2 1: the press is dropped, the release stops.
    Feed(handoff, {0x06, 0xF2}, 1);
    EXPECT_EQ(Feed(handoff, {0x06, 0xF1}, 1), InputEvent::PressDropped);
    EXPECT_EQ(handoff.StopRequest(), 0);
    EXPECT_EQ(Feed(handoff, {0x06, 0x00}, 1), InputEvent::StopRequested);
    EXPECT_EQ(handoff.StopRequest(), 1);
    handoff.FinishPress();

    // A release with MACRO_MODE2 0 and codes up to 0xF0 mean nothing.
    EXPECT_EQ(Feed(handoff, {0x06, 0x00}, 0), InputEvent::Ignored);
    EXPECT_EQ(Feed(handoff, {0x06, 0xF0}), InputEvent::Ignored);
    EXPECT_EQ(Feed(handoff, {0x06, 0x42}, 1), InputEvent::Ignored);
    EXPECT_EQ(handoff.PendingInput(), 0);
    EXPECT_EQ(handoff.StopRequest(), 0);

    // Active, the report ID is not looked at.
    EXPECT_EQ(Feed(handoff, {0x05, 0xF8}), InputEvent::PressPosted);
    EXPECT_EQ(handoff.PendingCode(), 0xF8);
}

TEST(InputListener, WhileWaitingOnlyTheActivationReportCounts) {
    PressHandoff handoff;
    handoff.SetHostActionsOn(false);

    EXPECT_EQ(Feed(handoff, {0x06, 0xF2}), InputEvent::Ignored);
    EXPECT_EQ(Feed(handoff, {0x05, 0x00}, 1), InputEvent::Ignored);
    EXPECT_EQ(Feed(handoff, {0x06}), InputEvent::Ignored);  // too short to judge
    EXPECT_EQ(handoff.PendingInput(), 0);
    EXPECT_EQ(handoff.StopRequest(), 0);
    EXPECT_FALSE(handoff.HostActionsOn());

    EXPECT_EQ(Feed(handoff, {0x06, 0x00}, 1), InputEvent::Activated);
    EXPECT_TRUE(handoff.HostActionsOn());
    EXPECT_EQ(handoff.StopRequest(), 0);  // the activation is not also a release
}

TEST(InputListener, ThreadHandsReportsOverAndRepaintsOnActivation) {
    ListenerRig rig;
    DiscoverDevice(rig.port, rig.link);
    rig.handoff.SetHostActionsOn(false);
    rig.Start();
    rig.port.device->Push(Padded({0x06, 0x00}));
    ASSERT_TRUE(Eventually([&] { return rig.invalidations.load() == 1; }));
    EXPECT_TRUE(rig.handoff.HostActionsOn());

    rig.port.device->Push(Padded({0x06, 0xF3}));
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 1; }));
    EXPECT_EQ(rig.handoff.PendingCode(), 0xF3);
    EXPECT_EQ(rig.threadStarts.load(), 1);
    EXPECT_EQ(rig.port.device->ReadSizes().front(), 9u);

    // With MACRO_MODE2 published, a release stops the press under way.
    ConfigSnapshot holdToRepeat;
    holdToRepeat.config.MACRO_MODE2 = 1;
    rig.published.Publish(holdToRepeat);
    rig.port.device->Push(Padded({0x06, 0x00}));
    ASSERT_TRUE(Eventually([&] { return rig.handoff.StopRequest() == 1; }));

    // Stopping ends the read the thread is blocked in.
    const auto before = std::chrono::steady_clock::now();
    rig.listener->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
}

TEST(InputListener, WithoutAReadHandleWaitsForADiscoveryInsteadOfSpinning) {
    ListenerRig rig;
    rig.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(rig.port.device->Reads(), 0u);
    EXPECT_EQ(rig.handoff.wakeups.listener.load(), 0u);

    DiscoverDevice(rig.port, rig.link);
    rig.port.device->Push(Padded({0x06, 0xF1}));
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingCode() == 0xF1; }));
}

TEST(InputListener, UnusableReadHandlesAreNotReadAndLongReportsAreCut) {
    for (bool openFails : {true, false}) {
        ListenerRig rig;
        rig.port.listing = {Interface(u"in", kMouseVendorId, kMouseProductId, kInputUsagePage, kVendorUsage, 1),
                            MouseFeature()};
        if (openFails) {
            rig.port.listing[0] = MouseInput(u"in");
            rig.port.failingOpens = {u"in"};
        }
        DiscoverDevice(rig.port, rig.link);
        rig.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(rig.port.device->Reads(), 0u) << openFails;
    }

    ListenerRig rig;
    rig.port.listing = {Interface(u"in", kMouseVendorId, kMouseProductId, kInputUsagePage, kVendorUsage, 700),
                        MouseFeature()};
    DiscoverDevice(rig.port, rig.link);
    rig.Start();
    rig.port.device->Push(Bytes(300, 0xF4));
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 1; }));
    EXPECT_EQ(rig.port.device->ReadSizes().front(), kReportBufferSize);
}

TEST(InputListener, AFailingReadIsRetriedSlowlyUntilARediscovery) {
    ListenerRig rig;
    DiscoverDevice(rig.port, rig.link);
    rig.port.device->readsFail = true;
    rig.Start(std::chrono::milliseconds(40));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::size_t reads = rig.port.device->Reads();
    EXPECT_GE(reads, 2u);  // it does try again
    EXPECT_LE(reads, 10u);  // but not in a loop

    auto fresh = std::make_shared<FakeDevice>();
    rig.port.device = fresh;
    DiscoverDevice(rig.port, rig.link);
    fresh->Push(Padded({0x06, 0xF6}));
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingCode() == 0xF6; }));
}
