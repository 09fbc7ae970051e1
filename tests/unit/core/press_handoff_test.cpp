#include "core/press_handoff.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>

TEST(PressHandoff, TakePressReturnsThePendingCodeOrNothingWhenStopped) {
    PressHandoff handoff;
    EXPECT_TRUE(handoff.HostActionsOn());  // host actions are on until an apply says otherwise
    EXPECT_EQ(handoff.OfferPress(0xF2, true), PressOutcome::Posted);
    std::stop_source source;
    EXPECT_EQ(handoff.TakePress(source.get_token()), 0xF2);
    handoff.FinishPress();

    auto taken = std::async(std::launch::async, [&] { return handoff.TakePress(source.get_token()); });
    EXPECT_EQ(taken.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    source.request_stop();
    ASSERT_EQ(taken.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(taken.get().has_value());
}
