#include "ui/animators.h"

#include <atomic>
#include <future>

#include <gtest/gtest.h>

#include "support/fake_animator_clock.h"

namespace {
using std::chrono::milliseconds;

struct Rig {
    Rig() : clock(flags) {}
    void Blink() {
        flags.BlinkRunning = true;
        RunBlinkIndicator(context, {});
    }
    void Preview(std::int32_t level) { Preview([level] { return level; }); }
    void Preview(std::function<std::int32_t()> level) {
        flags.PreviewRunning = true;
        RunLedPreview(context, level, {});
    }
    ThreadFlags flags;
    FakeAnimatorClock clock;
    int invalidations = 0;
    AnimatorContext context{flags, clock, [this] { ++invalidations; }};
};
}  // namespace

TEST(BlinkIndicator, BlinksWhileWaitingAndEndsSixTogglesAfterTheActivation) {
    Rig rig;
    rig.flags.DriverActive = false;
    rig.clock.afterSleep = [&](int n) {
        if (n == 8) rig.flags.DriverActive = true;
        return true;
    };
    rig.Blink();
    ASSERT_EQ(rig.clock.sleeps.size(), 12u);  // noticed at the end of the second round of six
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(rig.clock.sleeps[i].duration, milliseconds(500));
        EXPECT_EQ(rig.clock.sleeps[i].phase, i % 2 == 0) << i;  // inverted before each sleep
    }
    EXPECT_EQ(rig.invalidations, 12);
    EXPECT_TRUE(rig.flags.BlinkPhase);
    EXPECT_FALSE(rig.flags.BlinkRunning);
}

TEST(BlinkIndicator, EndsAtOnceOffTheMainPageOrWhenActive) {
    Rig offPage;
    offPage.flags.DriverActive = false;
    offPage.flags.CurrentPage = WindowPage::Advanced;
    offPage.Blink();
    Rig active;  // the indicator of start-up
    active.Blink();
    for (Rig* rig : {&offPage, &active}) {
        EXPECT_TRUE(rig->clock.sleeps.empty());
        EXPECT_TRUE(rig->flags.BlinkPhase);
        EXPECT_FALSE(rig->flags.BlinkRunning);
    }
}

TEST(BlinkIndicator, AWakeLooksAtTheFlagsAtOnce) {
    Rig rig;
    rig.flags.DriverActive = false;
    rig.clock.afterSleep = [&](int n) {
        if (n == 3) rig.flags.CurrentPage = WindowPage::Colour;
        return n != 3;
    };
    rig.Blink();
    EXPECT_EQ(rig.clock.sleeps.size(), 3u);
    EXPECT_FALSE(rig.flags.BlinkRunning);
}

TEST(LedPreview, ModesZeroAndOneFlashThroughTheColours) {
    for (std::uint8_t led : {0, 1}) {
        Rig rig;
        rig.flags.CurrentPage = WindowPage::Colour;
        rig.flags.AppliedLed = led;
        rig.clock.limit = 6;
        rig.Preview(1);
        const milliseconds step = led == 1 ? milliseconds(800) : milliseconds(1200);
        const std::vector<std::pair<bool, int>> expected = {{true, 2},  {false, 2}, {true, 3},
                                                            {false, 3}, {true, 0},  {false, 0}};
        ASSERT_EQ(rig.clock.sleeps.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(rig.clock.sleeps[i].duration, step);
            EXPECT_EQ(rig.clock.sleeps[i].off, expected[i].first) << i;
            EXPECT_EQ(rig.clock.sleeps[i].colour, expected[i].second) << i;
        }
        EXPECT_FALSE(rig.flags.PreviewRunning);
    }
}

TEST(LedPreview, ModesTwoAndThreeShowTheStageSteadyLitOrUnlit) {
    for (std::uint8_t led : {2, 3}) {
        Rig rig;
        rig.flags.CurrentPage = WindowPage::Colour;
        rig.flags.AppliedLed = led;
        rig.flags.PreviewOff = led == 2;
        rig.clock.limit = 3;
        int level = 1;
        rig.clock.afterSleep = [&](int) {
            level = 2;
            return true;
        };
        rig.Preview([&] { return level; });
        ASSERT_EQ(rig.clock.sleeps.size(), 3u);
        EXPECT_EQ(rig.clock.sleeps[0].colour, 1);
        EXPECT_EQ(rig.clock.sleeps[2].colour, 2);
        for (const auto& sleep : rig.clock.sleeps) {
            EXPECT_EQ(sleep.off, led == 3);
            EXPECT_EQ(sleep.duration, milliseconds(1200));
        }
    }
}

TEST(LedPreview, ANewStageShowsItsColourFirstAndLeavingIsNoticedInTime) {
    Rig rig;
    rig.flags.CurrentPage = WindowPage::Colour;
    int level = 0;
    rig.clock.afterSleep = [&](int n) {
        if (n == 1) level = 3;
        if (n == 3) rig.flags.CurrentPage = WindowPage::Main;  // left during the stage display's follow-up
        return true;
    };
    rig.Preview([&] { return level; });
    ASSERT_EQ(rig.clock.sleeps.size(), 3u);
    EXPECT_EQ(rig.clock.sleeps[1].duration, milliseconds(2000));
    EXPECT_EQ(rig.clock.sleeps[1].colour, 3);
    EXPECT_FALSE(rig.clock.sleeps[1].off);
    EXPECT_LE(rig.clock.Total() - rig.clock.sleeps[0].duration, milliseconds(3200));

    // Woken during the stage display after the page was left: no further sleep.
    Rig woken;
    woken.flags.CurrentPage = WindowPage::Colour;
    int wokenLevel = 0;
    woken.clock.afterSleep = [&](int n) {
        if (n == 1) wokenLevel = 1;
        if (n == 2) woken.flags.CurrentPage = WindowPage::Main;
        return n != 2;
    };
    woken.Preview([&] { return wokenLevel; });
    EXPECT_EQ(woken.clock.sleeps.size(), 2u);
    EXPECT_FALSE(woken.flags.PreviewRunning);
}

TEST(LedPreview, OutOfRangeStagesAreBoundedAndOffThePageItEndsAtOnce) {
    Rig rig;
    rig.flags.CurrentPage = WindowPage::Colour;
    rig.flags.AppliedLed = 2;
    rig.clock.limit = 1;
    rig.Preview(77);
    EXPECT_EQ(rig.clock.sleeps.at(0).colour, 3);
    Rig negative;
    negative.flags.CurrentPage = WindowPage::Advanced;
    negative.Preview(-4);
    EXPECT_TRUE(negative.clock.sleeps.empty());
    EXPECT_EQ(negative.flags.PreviewColour, 0);
    EXPECT_FALSE(negative.flags.PreviewRunning);
}

TEST(AnimatorThread, StartingAnotherEndsTheOneBefore) {
    ThreadFlags flags;
    flags.DriverActive = false;
    BellClock clock(flags.AnimatorBell());
    AnimatorContext context{flags, clock, {}};
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    auto body = [&](std::stop_token stop) {
        most = std::max(most.load(), ++running);
        RunBlinkIndicator(context, stop);
        --running;
    };
    AnimatorThread thread;
    thread.Start(body);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto before = std::chrono::steady_clock::now();
    thread.Start(body);
    EXPECT_LT(std::chrono::steady_clock::now() - before, milliseconds(400));  // not a whole half second
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(running.load(), 1);
    EXPECT_EQ(most.load(), 1);
    thread.Stop();
    EXPECT_EQ(running.load(), 0);
    EXPECT_FALSE(flags.BlinkRunning);
}
