#include <gtest/gtest.h>

#include "actions/host_action_links.h"
#include "support/event_log.h"
#include "support/fake_clock.h"
#include "support/fake_hid.h"
#include "support/fake_links.h"
#include "support/fake_settings.h"
#include "support/macro_builder.h"
#include "support/memory_profile.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {

// The links over the program's own flags, feature report and apply.
TEST(ProgramHostActionLinksTest, FlagsReportsAndTheApplyOfTheProgram) {
    EventLog log;
    ProgramState state;
    state.paths.ConfigIniPath = u"config.ini";
    state.CurConfig = 2;
    MemoryProfile profile;
    MacroStore macros;
    RecordingInjector injector{log};
    RecordingShell shell{log};
    FakeClock clock{log};
    ThreadFlags flags;
    FakeHidPort mouse;
    mouse.listing = {MouseInput(), MouseFeature()};
    DeviceLink link;
    DiscoverDevice(mouse, link);
    FeatureReportSender reports(link);
    FakeSettings settings;
    settings.speedQueryFails = true;
    settings.linesQueryFails = true;
    int invalidated = 0;
    ApplyContext apply{state, profile, reports, flags, settings, [&] { ++invalidated; }, nullptr};
    ProgramHostActionLinks links(flags, state, reports, apply, [&] { ++invalidated; });
    HostActions actions(state, profile, macros, injector, shell, clock, links);

    ActiveConfig& c = state.config;
    c.DPI_SET_EN = {1, 1, 1, 1};
    c.AppliedStageValues = {0, 1, 4, 3};
    c.DPI_LEVEL = 1;
    flags.AppliedLed = 1;
    flags.SetDpiDirection(3, 1);
    actions.PerformButton(3);
    EXPECT_EQ(mouse.device->Sent().back(), Padded({0x07, 0x09, 2, (4 + 8) * 16 + 1}));

    flags.SetDpiDirection(3, 0);
    c.K[2] = 19;
    actions.PerformButton(3);
    EXPECT_EQ(flags.LedToggle.load(), 3);
    EXPECT_EQ(mouse.device->Sent().back(), Padded({0x07, 0x09, 2, (4 + 8) * 16 + 3}));
    EXPECT_EQ(invalidated, 2);

    // A stop asked for through the flags ends a MACRO_MODE2 playback.
    c.MACRO_MODE2 = 1;
    macros.Edit([](MacroStoreData& d) {
        d.records[0] = Macro({{'A', 1, 1}, {'A', 2, 1}});
        d.count = 1;
    });
    clock.logSleeps = false;
    clock.onSleep = [&](long n) {
        if (n == 50) flags.RequestStop();
    };
    c.K[2] = 41;
    actions.PerformButton(3);
    EXPECT_EQ(injector.events, 50);

    // The configuration switch applies the next slot: its DPI directions are in force after it.
    profile.values[{u"config.ini", u"Config3", u"K1"}] = u"17";
    profile.values[{u"config.ini", u"Config3", u"K7"}] = u"1";  // the left click
    c.K[2] = 40;
    actions.PerformButton(3);
    EXPECT_EQ(state.CurConfig, 3);
    EXPECT_EQ(flags.DpiDirection(1), 1);
    EXPECT_EQ(profile.ReadString(u"config.ini", u"Init", u"CurConfig", 5), u"3");
    EXPECT_EQ(profile.ReadString(u"config.ini", u"Config6", u"K1", 5), u"17");
}

}  // namespace
