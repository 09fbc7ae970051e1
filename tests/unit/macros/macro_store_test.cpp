#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>

#include "macros/macro_store.h"

namespace {

TEST(MacroRecordTest, NamesKeepTheirTerminator) {
    MacroRecord m;
    m.SetName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(m.Name(), u"ABCDEFGHIJKLMNOPQRS");  // 19 characters
    const MacroImage image = EncodeRecord(m);
    EXPECT_EQ(image[36], 'S');
    EXPECT_EQ(image[38], 0);
    EXPECT_EQ(image[39], 0);

    // A shorter name clears what a longer one left behind.
    m.SetName(u"跳");
    EXPECT_EQ(m.Name(), u"跳");
    for (int i = 1; i < kNameUnits; ++i) EXPECT_EQ(m.name[i], 0) << i;
    EXPECT_EQ(EncodeRecord(m)[0], 0xF3);  // U+8DF3, low byte first
    EXPECT_EQ(EncodeRecord(m)[1], 0x8D);

    // The cut never splits a surrogate pair.
    m.SetName(std::u16string(18, u'x') + u"\U0001F600");
    EXPECT_EQ(m.Name(), std::u16string(18, u'x'));

    // An image whose name has no terminator shows 19 characters and keeps its 20th unit.
    MacroImage full{};
    for (int i = 0; i < 40; i += 2) full[i] = 'n';
    const MacroRecord decoded = DecodeRecord(full);
    EXPECT_EQ(decoded.Name(), std::u16string(19, u'n'));
    EXPECT_EQ(EncodeRecord(decoded), full);
}

TEST(MacroRecordTest, MultiByteValuesAreLittleEndian) {
    MacroRecord m = NewMacro(u"A");
    m.repeatCount = 0x0102;
    m.eventCount = 255;
    m.events[254] = {0xF2, 2, 0xFFFE};
    const MacroImage image = EncodeRecord(m);
    EXPECT_EQ(image[41], 0x02);
    EXPECT_EQ(image[42], 0x01);
    EXPECT_EQ(image[1060], 0xF2);
    EXPECT_EQ(image[1062], 0xFE);
    EXPECT_EQ(image[1063], 0xFF);
    EXPECT_EQ(DecodeRecord(image), m);
    EXPECT_EQ(m.BoundedEventCount(), kEventSlots);  // 255 from a file stays within the slots
}

TEST(MacroStoreTest, SnapshotsAreWholeRecordsWhileTheStoreChanges) {
    MacroStore store;
    EXPECT_FALSE(store.Snapshot(0).has_value());
    store.Edit([](MacroStoreData& d) {
        d.count = 2;
        d.records[0] = NewMacro(u"a");
    });
    EXPECT_TRUE(store.Snapshot(1).has_value());
    EXPECT_FALSE(store.Snapshot(2).has_value());
    EXPECT_FALSE(store.Snapshot(-1).has_value());

    // One thread rewrites macro 0 with events that all carry the same marker; every snapshot the
    // other thread takes must show a single marker throughout. Both start together, and the
    // writer goes on until the reader has taken its snapshots and seen the macro change between
    // them, so reads and writes really overlap however the threads are scheduled.
    constexpr int kSnapshots = 500;
    constexpr int kChangesSeen = 20;
    std::latch start(2);
    std::atomic<bool> readerDone{false};
    std::thread writer([&] {
        start.arrive_and_wait();
        for (int round = 1; !readerDone.load(); ++round) {
            store.Edit([&](MacroStoreData& d) {
                MacroRecord& r = d.records[0];
                r.eventCount = static_cast<std::uint8_t>(round % 255);
                for (MacroEvent& e : r.events) e = {static_cast<std::uint8_t>(round), 1, static_cast<std::uint16_t>(round)};
            });
        }
    });
    start.arrive_and_wait();
    int seen = 0;
    int torn = 0;
    int changes = 0;
    std::uint16_t lastMarker = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((seen < kSnapshots || changes < kChangesSeen) && std::chrono::steady_clock::now() < giveUp) {
        const auto snapshot = store.Snapshot(0);
        if (!snapshot) {
            ADD_FAILURE() << "macro 0 vanished";
            break;
        }
        if (snapshot->events[0].delay != lastMarker) ++changes;
        lastMarker = snapshot->events[0].delay;
        for (const MacroEvent& e : snapshot->events) {
            if (e.key != snapshot->events[0].key || e.delay != snapshot->events[0].delay) ++torn;
        }
        ++seen;
    }
    readerDone = true;
    writer.join();
    EXPECT_GE(changes, kChangesSeen);
    EXPECT_EQ(torn, 0);
}

}  // namespace
