#include "actions/host_action_executor.h"

#include <atomic>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "platform/steady_sleeper.h"
#include "support/eventually.h"

namespace {
struct ExecutorRig {
    explicit ExecutorRig(std::function<void(int)> perform) {
        executor = std::make_unique<HostActionExecutor>(
            HostActionExecutorContext{handoff, std::move(perform), [this] { ++threadStarts; }});
        executor->Start();
    }
    PressHandoff handoff;
    std::atomic<int> threadStarts{0};
    std::unique_ptr<HostActionExecutor> executor;
};
}  // namespace

TEST(HostActionExecutor, PerformsTheButtonWhosePressCodeCameAndFreesTheHandOff) {
    std::vector<int> performed;
    EXPECT_EQ(PerformPress(0xF4, [&](int b) { performed.push_back(b); }), 5);
    EXPECT_EQ(PerformPress(0xF8, [&](int b) { performed.push_back(b); }), 7);
    EXPECT_EQ(PerformPress(0xF7, [&](int b) { performed.push_back(b); }), 0);  // no button has id 7
    EXPECT_EQ(performed, (std::vector<int>{5, 7}));

    std::mutex mutex;
    std::vector<int> buttons;
    ExecutorRig rig([&](int button) {
        std::lock_guard<std::mutex> hold(mutex);
        buttons.push_back(button);
    });
    rig.handoff.OfferPress(0xF7, true);  // not a button: nothing performed, hand-off freed all the same
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 0; }));
    rig.handoff.OfferPress(0xF5, true);
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 0; }));
    std::lock_guard<std::mutex> hold(mutex);
    EXPECT_EQ(buttons, (std::vector<int>{4}));
    EXPECT_EQ(rig.threadStarts.load(), 1);
}

TEST(HostActionExecutor, APressWakesItAtOnce) {
    std::promise<std::chrono::steady_clock::time_point> taken;
    ExecutorRig rig([&](int) { taken.set_value(std::chrono::steady_clock::now()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let it block first
    const auto pressed = std::chrono::steady_clock::now();
    rig.handoff.OfferPress(0xF1, true);
    auto future = taken.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    // A 2 ms poll would be the old worst case; a blocked thread is woken far sooner.
    EXPECT_LT(future.get() - pressed, std::chrono::milliseconds(50));
    EXPECT_EQ(rig.handoff.wakeups.executor.load(), 1u);
}

TEST(HostActionExecutor, APressWhileBusyStopsTheRunningOneAndIsNotPerformed) {
    std::promise<void> inside;
    std::promise<void> letGo;
    std::shared_future<void> letGoFuture = letGo.get_future().share();
    std::atomic<int> performed{0};
    std::atomic<int> stopSeenInside{-1};
    ExecutorRig* rigPointer = nullptr;
    ExecutorRig rig([&](int) {
        if (++performed == 1) {
            inside.set_value();
            letGoFuture.wait();
            stopSeenInside = rigPointer->handoff.StopRequest();
        }
    });
    rigPointer = &rig;
    rig.handoff.OfferPress(0xF1, true);
    inside.get_future().wait();
    EXPECT_EQ(rig.handoff.OfferPress(0xF2, true), PressOutcome::StopRequested);
    EXPECT_EQ(rig.handoff.OfferPress(0xF2, false), PressOutcome::Dropped);
    letGo.set_value();
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 0; }));
    EXPECT_EQ(stopSeenInside.load(), 1);
    EXPECT_EQ(rig.handoff.StopRequest(), 0);
    EXPECT_EQ(performed.load(), 1);
}

TEST(HostActionExecutor, AStopWithNothingPlayingDoesNotCutTheNextPress) {
    std::atomic<int> stopSeen{-1};
    ExecutorRig* rigPointer = nullptr;
    ExecutorRig rig([&](int) { stopSeen = rigPointer->handoff.StopRequest(); });
    rigPointer = &rig;
    rig.handoff.RequestStop();  // a release with MACRO_MODE2 1 while idle
    ASSERT_TRUE(Eventually([&] { return rig.handoff.StopRequest() == 0; }));
    rig.handoff.OfferPress(0xF3, true);
    ASSERT_TRUE(Eventually([&] { return stopSeen.load() != -1; }));
    EXPECT_EQ(stopSeen.load(), 0);
}

TEST(HostActionExecutor, IdleItSleepsUntilStopped) {
    ExecutorRig rig([](int) {});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(rig.handoff.wakeups.executor.load(), 0u);
    const auto before = std::chrono::steady_clock::now();
    rig.executor->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    // Stopped: a press stays pending.
    rig.handoff.OfferPress(0xF1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(rig.handoff.PendingInput(), 1);
}

// A press in a long pause, as a macro's: a second press ends the pause at once and its stop does
// not carry over to the next press; ending the executor ends the pause too.
TEST(HostActionExecutor, AStopEndsAPressInItsPause) {
    SteadySleeper sleeper;
    std::atomic<int> started{0};
    std::atomic<int> ended{0};
    std::atomic<bool> stoppedAtStart{false};
    std::atomic<bool> waitedInFull{true};
    ExecutorRig* rigPointer = nullptr;
    ExecutorRig rig([&](int) {
        const std::stop_token stop = rigPointer->handoff.PressStop();
        stoppedAtStart = stop.stop_requested();
        ++started;
        waitedInFull = sleeper.WaitMs(60000, stop);
        ++ended;
    });
    rigPointer = &rig;
    using Clock = std::chrono::steady_clock;

    rig.handoff.OfferPress(0xF1, true);
    ASSERT_TRUE(Eventually([&] { return started.load() == 1; }));
    auto before = Clock::now();
    EXPECT_EQ(rig.handoff.OfferPress(0xF1, true), PressOutcome::StopRequested);
    ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 0; }));
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(1));
    EXPECT_FALSE(waitedInFull.load());

    rig.handoff.OfferPress(0xF1, true);
    ASSERT_TRUE(Eventually([&] { return started.load() == 2; }));
    EXPECT_FALSE(stoppedAtStart.load());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ended.load(), 1);  // still in its pause
    before = Clock::now();
    rig.executor->Stop();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(1));
    EXPECT_EQ(ended.load(), 2);
    EXPECT_FALSE(waitedInFull.load());
}
