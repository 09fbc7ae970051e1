#include "config/published_config.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

// The owner publishes whole configurations while a mouse thread reads: every copy the reader
// gets is one the owner published, never half of one and half of the next, and it stays as it
// was while newer ones come.
TEST(PublishedConfig, AReaderGetsWholeCopiesThatStayAsTheyWere) {
    PublishedConfig published;
    EXPECT_EQ(published.Read()->Code(1), 0);  // nothing published yet: no function
    std::atomic<bool> done{false};
    std::thread owner([&] {
        ConfigSnapshot snapshot;
        for (int i = 1; !done.load(); ++i) {
            snapshot.config.K.fill(i);
            snapshot.config.FIRE_TIME = i;
            snapshot.dpiDirection.fill(static_cast<std::int8_t>(i % 2 == 0 ? 1 : -1));
            published.Publish(snapshot);
        }
    });
    int torn = 0;
    int changes = 0;
    std::int32_t last = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (changes < 1000 && std::chrono::steady_clock::now() < giveUp) {
        const std::shared_ptr<const ConfigSnapshot> copy = published.Read();
        if (copy->Code(1) == 0) continue;  // the owner has not published yet
        const std::int32_t fire = copy->config.FIRE_TIME;
        for (int button = 1; button <= kButtonCount; ++button) torn += copy->Code(button) != fire;
        torn += copy->DpiDirection(7) != (fire % 2 == 0 ? 1 : -1);
        std::this_thread::yield();
        torn += copy->config.FIRE_TIME != fire;  // still the same copy after the owner moved on
        if (fire != last) ++changes;
        last = fire;
    }
    done = true;
    owner.join();
    // Enough changes to have raced the owner; a loaded machine may not reach the thousand in time.
    EXPECT_GE(changes, 100);
    EXPECT_EQ(torn, 0);
}
