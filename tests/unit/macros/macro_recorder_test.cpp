#include <gtest/gtest.h>

#include "macros/macro_recorder.h"

namespace {

struct Recording {
    explicit Recording(int macros) {
        store.Edit([&](MacroStoreData& d) {
            for (int i = 0; i < macros; ++i) d.records[i] = Macro({{'X', kActionPress, 5}});
            d.records[0].events[200] = {'X', kActionRelease, 5};  // beyond the count, cleared too
            d.count = static_cast<std::int16_t>(macros);
            d.selected = macros - 1;
        });
    }
    static MacroRecord Macro(std::initializer_list<MacroEvent> events) {
        MacroRecord m = NewMacro(u"old");
        for (const MacroEvent& e : events) m.events[m.eventCount++] = e;
        return m;
    }
    std::optional<int> Down(std::uint32_t vk, std::int32_t t = 0) { return recorder.Step(store, kKeyDownMessage, vk, t); }
    std::optional<int> Up(std::uint32_t vk, std::int32_t t = 0) { return recorder.Step(store, kKeyUpMessage, vk, t); }
    MacroRecord Target() const { return *store.Snapshot(recorder.Target()); }

    MacroStore store;
    MacroRecorder recorder;
};

TEST(MacroRecorderTest, RecordsOnePressPerHeldKeyAndTheTimesBetweenEvents) {
    Recording r(2);
    ASSERT_TRUE(r.recorder.Start(r.store, 0, u"typed"));
    EXPECT_EQ(r.store.Copy().selected, 0);
    EXPECT_EQ(r.Down('A', 1000), 0);
    EXPECT_EQ(r.Down('A', 1100), std::nullopt);  // auto-repeat
    EXPECT_EQ(r.Up('A', 1300), 1);
    EXPECT_EQ(r.recorder.Step(r.store, kSysKeyDownMessage, 'B', 1500), 2);
    EXPECT_EQ(r.recorder.Step(r.store, kSysKeyUpMessage, 'B', 1600), 3);
    EXPECT_EQ(r.Target().eventCount, 0);  // written only at the end
    EXPECT_EQ(r.recorder.Stop(r.store), 0);
    MacroRecord want = r.Macro({{'A', kActionPress, 300}, {'A', kActionRelease, 200}, {'B', kActionPress, 100}, {'B', kActionRelease, 30}});
    want.SetName(u"typed");
    EXPECT_EQ(r.Target(), want);
}

TEST(MacroRecorderTest, ReleasesMatchTheirPressesAndNoKeyStaysHeld) {
    Recording r(1);
    ASSERT_TRUE(r.recorder.Start(r.store, -1, u"old"));
    EXPECT_EQ(r.Up('C', 10), std::nullopt);  // held before the start
    r.Down('A', 20);
    r.Down('B', 30);
    EXPECT_EQ(r.Up('A', 40), 2);
    r.Down('D', 50);
    r.Up('D', 60);
    EXPECT_EQ(r.Up('A', 70), std::nullopt);  // already released
    EXPECT_EQ(r.recorder.Stop(r.store), 1);
    EXPECT_EQ(r.Target(), r.Macro({{'A', kActionPress, 10}, {'B', kActionPress, 10}, {'A', kActionRelease, 10}, {'D', kActionPress, 10},
                                   {'D', kActionRelease, 30}, {'B', kActionRelease, 30}}));
}

TEST(MacroRecorderTest, LimitsOfPressesAndHeldKeys) {
    Recording none(0), r(1);
    EXPECT_FALSE(none.recorder.Start(none.store, 0, u"m"));
    EXPECT_FALSE(r.recorder.Start(r.store, 1, u"m"));  // not a macro
    ASSERT_TRUE(r.recorder.Start(r.store, 0, u"m"));
    for (std::uint32_t vk = 1; vk <= kMaxHeldKeys; ++vk) ASSERT_TRUE(r.Down(vk));
    EXPECT_EQ(r.Down(100), std::nullopt);  // no room to hold it
    EXPECT_EQ(r.Up(100), std::nullopt);
    for (std::uint32_t vk = 1; vk <= kMaxHeldKeys; ++vk) ASSERT_TRUE(r.Up(vk));
    for (int i = kMaxHeldKeys + 1; i < kMaxRecordedPresses; ++i) {
        ASSERT_TRUE(r.Down('A'));
        ASSERT_TRUE(r.Up('A'));
    }
    ASSERT_TRUE(r.Down('C'));                // the 108th press
    EXPECT_EQ(r.Down('Z'), std::nullopt);   // the 109th
    EXPECT_TRUE(r.Up('C'));                  // a held key is still let go
    EXPECT_EQ(r.recorder.Stop(r.store), 0);
    EXPECT_EQ(r.Target().eventCount, kMaxRecordedEvents);
}

TEST(MacroRecorderTest, ElapsedTimeWrapsAtMidnightAndIsCapped) {
    MacroRecorder recorder;
    recorder.ElapsedSinceLastEvent(MillisecondsOfDay(23, 59, 59, 900));
    EXPECT_EQ(recorder.ElapsedSinceLastEvent(MillisecondsOfDay(0, 0, 0, 50)), 150);
    EXPECT_EQ(recorder.ElapsedSinceLastEvent(MillisecondsOfDay(0, 1, 10, 50)), 65535);  // 70 s
}

TEST(MacroRecorderTest, DialogNeverSeesEscapeEnterOrF10) {
    EXPECT_TRUE(DialogMustNotSee(kKeyDownMessage, 27) && DialogMustNotSee(kKeyDownMessage, 13));
    EXPECT_FALSE(DialogMustNotSee(kKeyUpMessage, 13) || DialogMustNotSee(kKeyDownMessage, 'A'));
    for (const std::uint32_t m : {kKeyDownMessage, kKeyUpMessage, kSysKeyDownMessage, kSysKeyUpMessage}) EXPECT_TRUE(DialogMustNotSee(m, 121));
    EXPECT_FALSE(DialogMustNotSee(0x102, 121));  // WM_CHAR 'y'
}

}  // namespace
