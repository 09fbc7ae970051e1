#include "core/thread_flags.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>


TEST(ThreadFlags, DpiDirectionIsKeptForButtonsOneToSevenOnly) {
    ThreadFlags flags;
    EXPECT_TRUE(flags.DriverActive);  // host actions are on until an apply says otherwise
    flags.SetDpiDirection(1, -1);
    flags.SetDpiDirection(7, 2);
    flags.SetDpiDirection(0, 1);
    flags.SetDpiDirection(8, 1);
    flags.SetDpiDirection(-5, 1);
    EXPECT_EQ(flags.DpiDirection(1), -1);
    EXPECT_EQ(flags.DpiDirection(7), 2);
    for (int button : {0, 8, -5, 1000}) EXPECT_EQ(flags.DpiDirection(button), 0) << button;
    for (int button = 2; button <= 6; ++button) EXPECT_EQ(flags.DpiDirection(button), 0);
}

TEST(ThreadFlags, TakePressReturnsThePendingCodeOrNothingWhenStopped) {
    ThreadFlags flags;
    EXPECT_EQ(flags.OfferPress(0xF2, true), PressOutcome::Posted);
    std::stop_source source;
    EXPECT_EQ(flags.TakePress(source.get_token()), 0xF2);
    flags.FinishPress();

    auto taken = std::async(std::launch::async, [&] { return flags.TakePress(source.get_token()); });
    EXPECT_EQ(taken.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    source.request_stop();
    ASSERT_EQ(taken.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(taken.get().has_value());
}

TEST(ThreadFlags, ConfigFieldReaderNeverWaitsForAnApply) {
    ProgramState program;
    ActiveConfig& config = program.config;
    config.MACRO_MODE2 = 1;
    const auto read = ConfigFieldReader(program, &ActiveConfig::MACRO_MODE2);
    EXPECT_EQ(read(), 1);

    std::promise<void> locked;
    std::promise<void> release;
    std::thread apply([&] {
        std::lock_guard<std::recursive_mutex> hold(program.configLock);
        config.MACRO_MODE2 = 0;
        locked.set_value();
        release.get_future().wait();
    });
    locked.get_future().wait();
    EXPECT_EQ(read(), 1);  // the apply holds the lock: the last value read
    release.set_value();
    apply.join();
    EXPECT_EQ(read(), 0);
}
