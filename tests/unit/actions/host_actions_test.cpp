#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "actions/host_actions.h"
#include "support/event_log.h"
#include "support/fake_clock.h"
#include "support/macro_builder.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {

// The window's side: what the executor asked of it, as log lines.
struct RecordingWindow : HostRequestPort {
    explicit RecordingWindow(EventLog& eventLog) : log(eventLog) {}
    void Post(HostRequest request) override {
        switch (request.kind) {
            case HostRequestKind::StepDpi: log.Addf("step dpi %d", request.direction); break;
            case HostRequestKind::ToggleLed: log.Add("toggle led"); break;
            case HostRequestKind::NextConfiguration: log.Add("next configuration"); break;
        }
    }
    EventLog& log;
};

struct HostActionsTest : ::testing::Test {
    EventLog log;
    ConfigSnapshot snapshot;  // what the window publishes before each press
    PublishedConfig published;
    PressHandoff handoff;
    MacroStore macros;
    RecordingInjector injector{log};
    RecordingShell shell{log};
    FakeClock clock{log};
    RecordingWindow window{log};
    HostActions actions{published, handoff, macros, injector, shell, clock, window};

    // The executor takes a press: the playback's stop is that press's own.
    void TakePress() {
        handoff.FinishPress();
        handoff.OfferPress(0xF1, true);
        handoff.TakePress(std::stop_token{});
    }
    void SetMacros(std::initializer_list<MacroRecord> records) {
        macros.Edit([&](MacroStoreData& d) {
            d.count = 0;
            for (const MacroRecord& r : records) d.records[d.count++] = r;
        });
    }
    // Button 3 carries code.
    std::vector<std::string> Press(std::int32_t code) {
        snapshot.config.K[2] = code;
        published.Publish(snapshot);
        TakePress();
        log.Clear();
        actions.PerformButton(3);
        return log.Lines();
    }
};

using Lines = std::vector<std::string>;

TEST_F(HostActionsTest, ShortcutsAndShellActions) {
    EXPECT_EQ(Press(31), (Lines{"key 11 00 0", "key 43 2e 0", "sleep 20", "key 43 2e 2", "key 11 00 2"}));
    EXPECT_EQ(Press(32), (Lines{"key 11 00 0", "key 56 2f 0", "sleep 20", "key 56 2f 2", "key 11 00 2"}));
    EXPECT_EQ(Press(33), (Lines{"key 11 00 0", "key 41 1e 0", "sleep 20", "key 41 1e 2", "key 11 00 2"}));
    EXPECT_EQ(Press(34), (Lines{"key 11 00 0", "key 5a 2c 0", "sleep 20", "key 5a 2c 2", "key 11 00 2"}));
    EXPECT_EQ(Press(35), (Lines{"key 12 00 0", "key 73 3e 0", "key 73 3e 2", "key 12 00 2"}));
    EXPECT_EQ(Press(26), (Lines{"key ad 00 0", "key ad 00 2"}));
    EXPECT_EQ(Press(36), Lines{"open computer folder"});
    EXPECT_EQ(Press(37), Lines{"lock"});
    EXPECT_EQ(Press(38), Lines{"start calc.exe"});
    EXPECT_EQ(Press(39), Lines{"start cmd.exe"});
    for (const std::int32_t nothing : {0, 1, 5, 7, 20, 27, 28, 29, 30, 53, 54, -1, -2147483647 - 1, 2147483647}) {
        EXPECT_TRUE(Press(nothing).empty()) << nothing;
    }
    // Only buttons 1 to 7 exist.
    snapshot.config.K.fill(31);
    published.Publish(snapshot);
    log.Clear();
    actions.PerformButton(0);
    actions.PerformButton(8);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(HostActionsTest, PlaybackGivesKeysTheirExtendedFlagAndScanCode) {
    MacroRecord m = Macro({});
    // The extended set, neighbours outside it, the three fixed scan codes and a release.
    const std::uint8_t keys[] = {0x21, 0x22, 0x25, 0x28, 0x2C, 0x2D, 0x2E, 0x5B, 0x5D, 0x6F, 0x90, 0xA1, 0xA3,
                                 0xA5, 0x20, 0x29, 0x2F, 0x5C, 0x13, 0xA0, 0xA2, 0xA4, 0x0D, 0xEF};
    for (const std::uint8_t k : keys) m.events[m.eventCount++] = {k, kActionPress, 0};
    m.events[m.eventCount++] = {0x2E, kActionRelease, 0};
    m.events[m.eventCount++] = {0x41, kActionRelease, 0};
    m.events[m.eventCount++] = {0x41, 0, 7};  // no event, only the delay
    m.events[m.eventCount++] = {0x41, 3, 0};
    SetMacros({m});
    clock.logSleeps = false;
    const Lines lines = Press(41);
    const Lines expected = {
        "precise on",
        "key 21 49 1", "key 22 11 1", "key 25 12 1", "key 28 14 1", "key 2c 37 1", "key 2d 16 1",
        "key 2e 17 1", "key 5b 5b 1", "key 5d 2e 1", "key 6f 37 1", "key 90 48 1", "key a1 50 1",
        "key a3 51 1", "key a5 52 1", "key 20 10 0", "key 29 14 0", "key 2f 17 0", "key 5c 2e 0",
        "key 13 45 0", "key a0 50 0", "key a2 51 0", "key a4 52 0", "key 0d 06 0", "key ef 77 0",
        "key 2e 17 3", "key 41 1e 2",
        // What is still down goes up at the end, last first, with the same codes.
        "key ef 77 2", "key 0d 06 2", "key a4 52 2", "key a2 51 2", "key a0 50 2", "key 13 45 2",
        "key 5c 2e 2", "key 2f 17 2", "key 29 14 2", "key 20 10 2", "key a5 52 3", "key a3 51 3",
        "key a1 50 3", "key 90 48 3", "key 6f 37 3", "key 5d 2e 3", "key 5b 5b 3", "key 2d 16 3",
        "key 2c 37 3", "key 28 14 3", "key 25 12 3", "key 22 11 3", "key 21 49 3",
        "precise off"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(clock.sleeps, m.eventCount);  // every event waits its delay, played or not
}

TEST_F(HostActionsTest, MouseButtonCodes) {
    SetMacros({Macro({{240, 1, 0}, {240, 2, 0}, {241, 1, 0}, {241, 2, 0}, {242, 1, 0}, {242, 2, 0},
                      {243, 1, 0}, {255, 2, 0}})});
    clock.logSleeps = false;
    EXPECT_EQ(Press(41), (Lines{"precise on", "mouse 02", "mouse 04", "mouse 08", "mouse 10", "mouse 20",
                                "mouse 40", "mouse 20", "mouse 40", "precise off"}));
}

TEST_F(HostActionsTest, ConfigurationChangesGoToTheWindow) {
    // A DPI direction of the last apply wins over the button's code.
    snapshot.dpiDirection[2] = -1;
    EXPECT_EQ(Press(31), Lines{"step dpi -1"});
    snapshot.dpiDirection[2] = 0;
    EXPECT_EQ(Press(19), Lines{"toggle led"});
    EXPECT_EQ(Press(40), Lines{"next configuration"});
    // A DPI code chosen but not applied yet has no direction: nothing happens.
    EXPECT_TRUE(Press(17).empty());
}

TEST_F(HostActionsTest, RepeatCountStoppedBySecondPressReleasesWhatIsHeld) {
    SetMacros({Macro({{'A', 1, 10}, {'A', 2, 15}}, 1, 3)});
    const Lines full = Press(41);
    EXPECT_EQ(full.size(), 2u + 3 * 4);  // three passes of two events and two delays

    // The second press arrives during the delay after the first event of the second pass.
    clock.onSleep = [&](long n) {
        if (n == 3) handoff.RequestStop();
    };
    clock.sleeps = 0;
    EXPECT_EQ(Press(41), (Lines{"precise on", "key 41 1e 0", "sleep 10", "key 41 1e 2", "sleep 15", "key 41 1e 0",
                                "sleep 10", "key 41 1e 2", "precise off"}));

    // Repeat mode 0 plays once whatever the count; repeat mode 1 with a count of 0 not at all.
    clock.onSleep = nullptr;
    SetMacros({Macro({{'A', 1, 0}}, 0, 9), Macro({{'A', 1, 0}}, 1, 0)});
    injector.events = 0;
    Press(41);
    EXPECT_EQ(injector.events, 2);  // the press and, at the end, its release
    Press(42);
    EXPECT_EQ(injector.events, 2);
}

TEST_F(HostActionsTest, APlaybackThatEndsWithKeysDownReleasesThemLastFirst) {
    // A record cut short: Ctrl and the left button go down on each pass and never up.
    clock.logSleeps = false;
    SetMacros({Macro({{kVkControl, 1, 5}, {'A', 1, 5}, {kLeftButtonKey, 1, 5}, {'A', 2, 5}}, 1, 2)});
    const Lines pass{"key 11 08 0", "key 41 1e 0", "mouse 02", "key 41 1e 2"};
    Lines expected{"precise on"};
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.insert(expected.end(), {"mouse 04", "key 11 08 2", "precise off"});
    EXPECT_EQ(Press(41), expected);

    // Stopped in the first pause: the one key down goes up.
    clock.onSleep = [&](long n) {
        if (n == 1) handoff.RequestStop();
    };
    clock.sleeps = 0;
    EXPECT_EQ(Press(41), (Lines{"precise on", "key 11 08 0", "key 11 08 2", "precise off"}));
}

TEST_F(HostActionsTest, MacroMode2RepeatsUntilTheReleaseUpToItsCeiling) {
    snapshot.config.MACRO_MODE2 = 1;
    clock.logSleeps = false;
    SetMacros({Macro({{240, 1, 5}, {240, 2, 5}}, 1, 2)});
    clock.onSleep = [&](long n) {
        if (n == 9) handoff.RequestStop();
    };
    const Lines lines = Press(41);
    ASSERT_EQ(lines.size(), 2u + 9 + 1);  // nine events, then the held button goes up
    EXPECT_EQ(lines[9], "mouse 02");
    EXPECT_EQ(lines[10], "mouse 04");

    clock.onSleep = nullptr;
    SetMacros({Macro({{'B', 0, 0}}), Macro({})});
    Press(41);
    EXPECT_EQ(clock.sleeps, 9 + kMacroMode2Passes);
    Press(42);  // a macro without events makes its passes without a pause
    EXPECT_EQ(clock.sleeps, 9 + kMacroMode2Passes);
}

TEST_F(HostActionsTest, MacroCodesBeyondTheCountDoNothing) {
    SetMacros({Macro({{'A', 1, 0}}), Macro({{'B', 1, 0}}), Macro({{'C', 1, 0}})});
    clock.logSleeps = false;
    EXPECT_TRUE(Press(45).empty());
    EXPECT_TRUE(Press(44).empty());
    EXPECT_EQ(Press(43), (Lines{"precise on", "key 43 2e 0", "key 43 2e 2", "precise off"}));
    EXPECT_EQ(Press(41), (Lines{"precise on", "key 41 1e 0", "key 41 1e 2", "precise off"}));
}

TEST_F(HostActionsTest, PlaybackUsesTheMacroAsItWasWhenItStarted) {
    SetMacros({Macro({{'A', 1, 10}, {'A', 2, 10}, {'Z', 1, 10}, {'Z', 2, 10}})});
    clock.logSleeps = false;
    clock.onSleep = [&](long n) {
        if (n == 1) {
            macros.Edit([](MacroStoreData& d) {
                for (MacroEvent& e : d.records[0].events) e = {'Q', 1, 60000};
                d.records[0].eventCount = 200;
            });
        }
        if (n == 2) macros.Edit([](MacroStoreData& d) { d.count = 0; });
    };
    EXPECT_EQ(Press(41), (Lines{"precise on", "key 41 1e 0", "key 41 1e 2", "key 5a 2c 0", "key 5a 2c 2",
                                "precise off"}));
    EXPECT_EQ(clock.sleeps, 4);
}

}  // namespace
