#include "app/apply_configuration.h"

#include <gtest/gtest.h>

#include "app/host_requests.h"
#include "config/config_file.h"
#include "core/led_mode.h"
#include "platform/text.h"
#include "support/event_log.h"
#include "support/fake_hid.h"
#include "support/fake_settings.h"
#include "support/memory_profile.h"

namespace {
const std::u16string kIni = u"C:\\prog\\config.ini";

// An apply against a fake mouse whose every report, ini section, setting and window request
// lands in one event list.
struct ApplyRig {
    ApplyRig() {
        port.listing = {MouseInput(), MouseFeature()};
        port.device->log = &log;
        DiscoverDevice(port, link);
        profile.log = &log;
        settings.log = &log;
        program.paths.ConfigIniPath = kIni;
        program.CurConfig = 2;
        SetBuiltInDefaults(program.config);
    }
    void Apply() { ApplyConfiguration(context); }
    void SetButtons(std::array<std::int32_t, kButtonCount> codes) { program.config.K = codes; }
    // A button's request carried out by the window's thread: its reports and repaint requests.
    std::vector<std::string> Carry(HostRequest request) {
        log.Take();
        CarryOut(context, request);
        std::vector<std::string> lines;
        for (const std::string& e : log.Take()) {
            if (e.rfind("report ", 0) == 0 || e.rfind("invalidate", 0) == 0) lines.push_back(e);
        }
        return lines;
    }
    std::vector<std::string> Reports() {
        std::vector<std::string> reports;
        for (const std::string& e : log.Take()) {
            if (e.rfind("report ", 0) == 0) reports.push_back(e.substr(7));
        }
        return reports;
    }

    EventLog log;
    FakeHidPort port;
    DeviceLink link;
    FeatureReportSender sender{link};
    MemoryProfile profile;
    FakeSettings settings;
    PressHandoff handoff;
    ProgramState program;
    int blinkStarts = 0;
    // What the window paints after a failed save tells it.
    ApplyContext context{program, profile, sender, handoff, settings,
                         [this] { log.Add(program.configSaveFailed.load() ? "invalidate, save failed" : "invalidate"); },
                         [this] {
                             ++blinkStarts;
                             log.Add("blink");
                         }};
};
}  // namespace

TEST(ApplyConfiguration, DoesEverythingInItsOrder) {
    ApplyRig rig;  // factory buttons 1, 2, 3, 5, 4, 18, 17: buttons 6 and 7 step the DPI stage
    rig.Apply();
    EXPECT_EQ(rig.log.Take(), (std::vector<std::string>{
                                  "ini Init",
                                  "ini Config6",
                                  "report 07 10 01 01 00 00 00 00 00",
                                  "report 07 10 02 02 00 00 00 00 00",
                                  "report 07 10 03 03 00 00 00 00 00",
                                  "report 07 10 05 05 00 00 00 00 00",
                                  "report 07 10 04 04 00 00 00 00 00",
                                  "report 07 10 06 1F 00 00 00 00 00",
                                  "blink",
                                  "report 07 10 08 1F 00 00 00 00 00",
                                  "report 07 11 00 00 00 00 00 00 00",
                                  "report 07 09 00 90 00 00 00 00 00",
                                  "invalidate",
                                  "speed 8",
                                  "lines 3",
                                  "report 07 12 06 00 00 00 00 00 00",
                                  "ini Config2",
                              }));
    EXPECT_EQ(rig.profile.Value(kIni, u"Init", u"CurConfig"), "2");
    EXPECT_EQ(rig.profile.Value(kIni, u"Config6", u"K6"), "18");
    // A program profile's slot is applied as any other, but config.ini keeps the user's slot.
    rig.program.profile = RunningProfile{u"game.exe", 2};
    rig.program.CurConfig = 4;
    rig.Apply();
    EXPECT_EQ(rig.profile.Value(kIni, u"Init", u"CurConfig"), "2");
    EXPECT_EQ(rig.profile.Value(kIni, u"Config4", u"K7"), "17");
    rig.log.Take();
    rig.program.profile.reset();
    rig.program.CurConfig = 2;
    rig.Apply();
    EXPECT_EQ(rig.profile.Value(kIni, u"Config2", u"K7"), "17");
    EXPECT_FALSE(rig.handoff.HostActionsOn());
    EXPECT_EQ(rig.program.applied.startKeyIndex, 6);
    // The mouse's threads see the directions of this apply.
    const std::shared_ptr<const ConfigSnapshot> published = rig.program.published.Read();
    const int directions[] = {0, 0, 0, 0, 0, -1, 1};
    for (int button = 1; button <= 7; ++button) EXPECT_EQ(published->DpiDirection(button), directions[button - 1]);
    EXPECT_EQ(published->DpiDirection(0), 0);
    EXPECT_EQ(published->DpiDirection(8), 0);
    EXPECT_EQ(published->config, rig.program.config);
}

TEST(ApplyConfiguration, DeviceFunctionsOnlyLeaveHostActionsOn) {
    ApplyRig rig;
    rig.program.applied.startKeyIndex = 4;
    rig.SetButtons({1, 2, 11, 16, 21, 25, 0});
    rig.Apply();
    const std::vector<std::string> reports = rig.Reports();
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_EQ(reports[3], "07 10 05 0C 00 00 00 00 00");  // button 4 is the mouse's 5; code 16 is function 12
    EXPECT_TRUE(rig.handoff.HostActionsOn());
    EXPECT_EQ(rig.blinkStarts, 0);
    EXPECT_EQ(rig.program.applied.startKeyIndex, 4);
}

TEST(ApplyConfiguration, TheFirstHostButtonIsTheStartKeyOfTheWait) {
    ApplyRig rig;
    rig.SetButtons({1, 2, 40, 3, 41, 4, 5});
    rig.Apply();
    EXPECT_EQ(rig.program.applied.startKeyIndex, 3);
    EXPECT_EQ(rig.blinkStarts, 1);

    rig.SetButtons({1, 2, 3, 4, 19, 5, 0});
    rig.Apply();
    EXPECT_EQ(rig.program.applied.startKeyIndex, 5);
    EXPECT_FALSE(rig.handoff.HostActionsOn());
    EXPECT_EQ(rig.blinkStarts, 2);  // the window keeps a blink under way as it is
}

TEST(ApplyConfiguration, CodesOutsideTheCatalogueAreSkippedNotSentWithAStaleByte) {
    ApplyRig rig;
    rig.SetButtons({20, 7, 1, 53, -3, 6, 2});
    rig.Apply();
    const std::vector<std::string> reports = rig.Reports();
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports[0], "07 10 03 01 00 00 00 00 00");
    EXPECT_EQ(reports[1], "07 10 06 1F 00 00 00 00 00");
    EXPECT_EQ(reports[2], "07 10 08 02 00 00 00 00 00");
    EXPECT_EQ(reports.size(), 6u);
    EXPECT_EQ(rig.program.applied.startKeyIndex, 6);
    EXPECT_EQ(rig.program.published.Read()->DpiDirection(6), 2);
    EXPECT_EQ(rig.program.published.Read()->DpiDirection(1), 0);
}

TEST(ApplyConfiguration, DpiStageAndLedGoOutAsAppliedValues) {
    ApplyRig rig;
    ActiveConfig& config = rig.program.config;
    config.LED_STATUS = 3;
    config.DPI_LEVEL = 0;
    config.SetStageValue(0, 1);
    config.SetStageValue(2, 4);
    config.AppliedStageValues = {0, 0, 0, 0};
    rig.Apply();
    EXPECT_EQ(rig.Reports().at(8), "07 09 00 93 00 00 00 00 00");
    EXPECT_EQ(config.AppliedStageValues, config.DPI_SET);
    EXPECT_EQ(rig.program.applied.led, 3);

    // A stage number from a hand-edited file is bounded to the four stages for both bytes.
    config.DPI_LEVEL = 9;
    config.LED_STATUS = 0;
    rig.Apply();
    EXPECT_EQ(rig.Reports().at(8), "07 09 03 80 00 00 00 00 00");
}

TEST(ApplyConfiguration, WhatAFileHoldsReachesTheMouseOnlyInRangeAndWithALeftClick) {
    ApplyRig rig;
    const auto reportsOf = [&rig] {
        SelectSlot(rig.profile, rig.program, 2);
        rig.Apply();
        return rig.Reports();
    };
    // No config.ini at all: the built-in configuration, not a mouse without functions.
    std::vector<std::string> reports = reportsOf();
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_EQ(reports[0], "07 10 01 01 00 00 00 00 00");
    EXPECT_EQ(reports[8], "07 09 00 90 00 00 00 00 00");

    // Hand-edited: no left click, values far outside their ranges.
    const auto set = [&rig](const char16_t* key, const char16_t* value) { rig.profile.values[{kIni, u"Config2", key}] = value; };
    for (const char16_t* key : {u"K1", u"K2", u"K3", u"K4", u"K5", u"K6", u"K7"}) set(key, u"2");
    set(u"DPI_SET1", u"-5");
    set(u"LED_STATUS", u"9999");
    set(u"WHEEL_STATUS", u"-9999");
    set(u"FIRE_TIME", u"100000");
    reports = reportsOf();
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_EQ(reports[0], "07 10 01 01 00 00 00 00 00");
    EXPECT_EQ(reports[1], "07 10 02 02 00 00 00 00 00");
    EXPECT_EQ(reports[7], "07 11 00 00 00 00 00 00 00");
    EXPECT_EQ(reports[8], "07 09 00 83 00 00 00 00 00");  // stage value 0, LED 3
    EXPECT_EQ(reports[9], "07 12 25 00 00 00 00 00 00");  // 300 ms
    EXPECT_EQ(rig.profile.Value(kIni, u"Config2", u"LED_STATUS"), "3");
    EXPECT_EQ(rig.profile.Value(kIni, u"Config6", u"K1"), "1");
}

TEST(ApplyConfiguration, FailedSavesAreRecordedOnceAndTheMouseStillGetsItAll) {
    ApplyRig rig;
    rig.Apply();
    EXPECT_FALSE(rig.program.configSaveFailed.load());
    rig.log.Take();
    rig.profile.failingKeys = {{u"Config2", u"FIRE_TIME"}};  // only the last save fails
    rig.Apply();
    EXPECT_TRUE(rig.program.configSaveFailed.load());
    EXPECT_EQ(rig.Reports().size(), 10u);
    rig.program.configSaveFailed = false;
    rig.profile.failingKeys = {{u"Init", u"CurConfig"}};
    rig.Apply();
    EXPECT_TRUE(rig.program.configSaveFailed.load());
}

TEST(ApplyConfiguration, WindowsSettingsFollowTheTablesAndFailedQueriesSkipTheSet) {
    const std::pair<int, int> speeds[] = {{0, 1}, {1, 2}, {5, 10}, {8, 16}, {9, 18}, {255, 18}};
    for (const auto& [dpiSpeed, expected] : speeds) {
        EXPECT_EQ(PointerSpeedFor(static_cast<std::uint8_t>(dpiSpeed)), expected) << dpiSpeed;
    }
    EXPECT_EQ(WheelLinesFor(2), 3u);
    EXPECT_EQ(WheelLinesFor(255), 0u);

    ApplyRig rig;
    rig.program.config.DPI_SPEED = 9;
    rig.program.config.WHEEL_SPEED = 2;
    rig.Apply();
    EXPECT_EQ(rig.settings.speed, 18);
    EXPECT_EQ(rig.settings.lines, 3u);

    ApplyRig failing;
    failing.settings.speedQueryFails = true;
    failing.Apply();
    EXPECT_FALSE(failing.settings.speed.has_value());
    EXPECT_EQ(failing.settings.lines, 3u);
    failing.settings.speedQueryFails = false;
    failing.settings.linesQueryFails = true;
    failing.settings.lines.reset();
    failing.Apply();
    EXPECT_EQ(failing.settings.speed, 8);
    EXPECT_FALSE(failing.settings.lines.has_value());
}

TEST(ApplyConfiguration, WithoutAWriteHandleTheHostSideAndSavesStillHappen) {
    ApplyRig rig;
    rig.port.failingOpens = {MouseFeature().path};
    DiscoverDevice(rig.port, rig.link);
    rig.log.Take();
    rig.Apply();
    EXPECT_TRUE(rig.Reports().empty());
    EXPECT_FALSE(rig.handoff.HostActionsOn());
    EXPECT_EQ(rig.program.applied.startKeyIndex, 6);
    EXPECT_EQ(rig.settings.speed, 8);
    EXPECT_EQ(rig.profile.Value(kIni, u"Config2", u"FIRE_TIME"), "50");
}

namespace {
using Lines = std::vector<std::string>;
HostRequest Step(int direction) { return {HostRequestKind::StepDpi, direction}; }
}  // namespace

TEST(HostRequests, DpiStepsAmongTheEnabledStagesAndIsSaved) {
    ApplyRig rig;
    ActiveConfig& c = rig.program.config;
    c.DPI_LEVEL = 3;
    // Up at stage 3: stays, still sent, with the applied value of stage 3 (0) and LED 0.
    EXPECT_EQ(rig.Carry(Step(1)), (Lines{"report 07 09 03 80 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.profile.Value(kIni, u"Config2", u"DPI_LEVEL"), "3");

    struct Case {
        int direction;
        std::array<std::uint8_t, 4> enabled;
        int from;
        int to;
    };
    const Case cases[] = {
        {1, {1, 0, 1, 1}, 0, 2},   {1, {1, 0, 0, 0}, 0, 0},  {-1, {1, 1, 0, 1}, 3, 1},
        {-1, {0, 1, 1, 1}, 1, 1},  {-1, {1, 1, 1, 1}, 0, 0}, {2, {0, 1, 0, 0}, 1, 1},
        {2, {1, 1, 1, 1}, 3, 0},   {2, {0, 0, 0, 0}, 2, 2},  {2, {1, 0, 1, 0}, 2, 0},
        {-1, {1, 1, 2, 1}, 3, 1},  // only a flag of exactly 1 enables a stage
        {1, {1, 1, 1, 1}, 9, 3},   {-1, {1, 1, 1, 1}, 9, 2}, {2, {1, 1, 1, 1}, -4, 1},  // bounded start
    };
    for (const Case& k : cases) {
        c.DPI_SET_EN = k.enabled;
        c.DPI_LEVEL = k.from;
        rig.Carry(Step(k.direction));
        EXPECT_EQ(c.DPI_LEVEL, k.to) << k.direction << " from " << k.from;
        EXPECT_EQ(rig.profile.Value(kIni, u"Config2", u"DPI_LEVEL"), std::to_string(k.to));
    }

    // With the LED switched off by the toggle, the step keeps it off.
    rig.program.applied.ledToggle = kLedOff;
    rig.program.applied.led = kLedSteady;
    c.DPI_SET_EN = {1, 1, 1, 1};
    c.DPI_LEVEL = 0;
    EXPECT_EQ(rig.Carry(Step(2)), (Lines{"report 07 09 01 A3 00 00 00 00 00", "invalidate"}));

    // A stage that cannot be saved stays current, and the repaint request comes after the
    // failure is recorded, so the window can tell it.
    rig.profile.failWrites = true;
    EXPECT_EQ(rig.Carry(Step(2)), (Lines{"report 07 09 02 C3 00 00 00 00 00", "invalidate, save failed"}));
    EXPECT_EQ(c.DPI_LEVEL, 2);
}

TEST(HostRequests, TheLedToggleSwitchesOffAndBackToTheAppliedMode) {
    ApplyRig rig;
    rig.program.config.DPI_LEVEL = 2;
    const HostRequest toggle{HostRequestKind::ToggleLed};
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C3 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C0 00 00 00 00 00", "invalidate"}));
    rig.program.applied.led = kLedFast;
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C3 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C1 00 00 00 00 00", "invalidate"}));
}

TEST(HostRequests, TheConfigurationSwitchCyclesTheUserSlotsAndAppliesThem) {
    ApplyRig rig;
    for (int slot = 1; slot <= 5; ++slot) {
        rig.profile.values[{kIni, u"Config" + DecimalText(slot), u"FIRE_TIME"}] = DecimalText(8 * slot);
    }
    struct Case {
        int from;
        int to;
    };
    for (const Case k : {Case{5, 1}, Case{0, 1}, Case{2, 3}, Case{4, 5}, Case{1, 2}, Case{-3, 1}, Case{77, 1}}) {
        rig.program.CurConfig = k.from;
        const Lines lines = rig.Carry({HostRequestKind::NextConfiguration});
        EXPECT_EQ(rig.program.CurConfig, k.to);
        // The slot is loaded before the apply sends it: its fire interval is the last report.
        ASSERT_GE(lines.size(), 2u) << k.from;
        char fire[40];
        std::snprintf(fire, sizeof fire, "report 07 12 %02X 00 00 00 00 00 00", k.to);
        EXPECT_EQ(lines[lines.size() - 2], fire) << k.from;
        EXPECT_EQ(lines.back(), "invalidate");
        EXPECT_EQ(rig.profile.Value(kIni, u"Init", u"CurConfig"), std::to_string(k.to));
        // The mouse's threads see the new slot's buttons.
        EXPECT_EQ(rig.program.published.Read()->config.FIRE_TIME, 8 * k.to);
    }
}
