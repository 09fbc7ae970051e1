#include "app/host_requests.h"

#include <gtest/gtest.h>

#include "core/led_mode.h"
#include "platform/text.h"
#include "support/event_log.h"
#include "support/fake_hid.h"
#include "support/fake_settings.h"
#include "support/memory_profile.h"

namespace {
using Lines = std::vector<std::string>;

// The window's thread carrying out a button's request against a fake mouse: the reports it
// sends and its repaint requests land in one log.
struct RequestRig {
    RequestRig() {
        port.listing = {MouseInput(), MouseFeature()};
        port.device->log = &log;
        DiscoverDevice(port, link);
        program.paths.ConfigIniPath = u"config.ini";
        program.CurConfig = 2;
        SetBuiltInDefaults(program.config);  // stage values 1, 2, 4, 0
    }
    Lines Carry(HostRequest request) {
        log.Take();
        CarryOut(context, request);
        return log.Take();
    }
    std::string Saved(const std::u16string& section, const std::u16string& key) {
        return profile.Value(u"config.ini", section, key);
    }

    EventLog log;
    FakeHidPort port;
    DeviceLink link;
    FeatureReportSender sender{link};
    MemoryProfile profile;
    FakeSettings settings;
    PressHandoff handoff;
    ProgramState program;
    ApplyContext context{program, profile, sender, handoff, settings,
                         [this] { log.Add(program.configSaveFailed.load() ? "invalidate, save failed" : "invalidate"); },
                         {}};
};

HostRequest Step(int direction) { return {HostRequestKind::StepDpi, direction}; }
}  // namespace

TEST(HostRequests, DpiStepsAmongTheEnabledStagesAndIsSaved) {
    RequestRig rig;
    ActiveConfig& c = rig.program.config;
    c.DPI_LEVEL = 3;
    // Up at stage 3: stays, still sent, with the applied value of stage 3 (0) and LED 0.
    EXPECT_EQ(rig.Carry(Step(1)), (Lines{"report 07 09 03 80 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.Saved(u"Config2", u"DPI_LEVEL"), "3");
    EXPECT_EQ(rig.profile.writes, 1);

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
        EXPECT_EQ(rig.Saved(u"Config2", u"DPI_LEVEL"), std::to_string(k.to));
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
    RequestRig rig;
    rig.program.config.DPI_LEVEL = 2;
    const HostRequest toggle{HostRequestKind::ToggleLed};
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C3 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C0 00 00 00 00 00", "invalidate"}));
    rig.program.applied.led = kLedFast;
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C3 00 00 00 00 00", "invalidate"}));
    EXPECT_EQ(rig.Carry(toggle), (Lines{"report 07 09 02 C1 00 00 00 00 00", "invalidate"}));
}

TEST(HostRequests, TheConfigurationSwitchCyclesTheUserSlotsAndAppliesThem) {
    RequestRig rig;
    for (int slot = 1; slot <= 5; ++slot) {
        rig.profile.values[{u"config.ini", u"Config" + DecimalText(slot), u"FIRE_TIME"}] = DecimalText(8 * slot);
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
        EXPECT_EQ(rig.Saved(u"Init", u"CurConfig"), std::to_string(k.to));
        // The mouse's threads see the new slot's buttons.
        EXPECT_EQ(rig.program.published.Read()->config.FIRE_TIME, 8 * k.to);
    }
}
