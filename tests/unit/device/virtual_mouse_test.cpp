#include "device/virtual_mouse.h"

#include <future>

#include <gtest/gtest.h>

#include "actions/host_action_executor.h"
#include "app/apply_configuration.h"
#include "device/input_listener.h"
#include "device/virtual_mouse_protocol.h"
#include "support/eventually.h"
#include "support/fake_hid.h"
#include "support/fake_settings.h"
#include "support/memory_profile.h"

namespace {
using Lines = std::vector<std::string>;

// The program's side of the link, on a virtual mouse.
struct ProgramRig {
    ProgramRig() {
        program.paths.ConfigIniPath = u"config.ini";
        program.CurConfig = 1;
        SetBuiltInDefaults(program.config);
    }
    void Apply() { ApplyConfiguration(context); }

    VirtualMouse mouse;
    DeviceLink link;
    FeatureReportSender sender{link};
    MemoryProfile profile;
    FakeSettings settings;
    PressHandoff handoff;
    ProgramState program;
    ApplyContext context{program, profile, sender, handoff, settings, {}, {}};
};

Bytes ReadOne(HidHandle& handle) {
    Bytes buffer(kReportBufferSize);
    const auto got = handle.ReadInputReport(buffer, {});
    if (!got) return {};
    buffer.resize(*got);
    return buffer;
}
}  // namespace

TEST(VirtualMouse, IsFoundAfterTheOtherDeviceAndDeclaresNineByteReports) {
    VirtualMouse mouse;
    DeviceLink link;
    EXPECT_TRUE(DiscoverDevice(mouse, link));
    EXPECT_EQ(link.FeatureReportLength(), kVirtualReportLength);
    EXPECT_EQ(link.InputReportLength(), kVirtualReportLength);
    const std::vector<std::u16string> paths = mouse.MouseInterfacePaths();
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(link.DevicePath(), paths.back());
    EXPECT_EQ(mouse.NotificationRegistrations(), 3);  // its pointer interface matches the ids too
    auto enumeration = mouse.Enumerate();
    EXPECT_NE(enumeration->Interface(0)->attributes->vendorId, kMouseVendorId);
    EXPECT_FALSE(enumeration->Interface(4).has_value());
}

TEST(VirtualMouse, KeepsTheStateTheProgramsReportsSet) {
    ProgramRig rig;
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "state"),
              (Lines{"map1=-", "map2=-", "map3=-", "map4=-", "map5=-", "map6=-", "map7=-", "map8=-", "dpi_stage=-",
                     "dpi_value=-", "led=-", "wheel=-", "fire=-", "OK"}));
    DiscoverDevice(rig.mouse, rig.link);
    rig.program.config.LED_STATUS = 2;
    rig.program.config.DPI_LEVEL = 2;
    rig.program.config.WHEEL_STATUS = 1;
    rig.program.config.FIRE_TIME = 300;
    rig.Apply();
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "state"),
              (Lines{"map1=1", "map2=2", "map3=3", "map4=4", "map5=5", "map6=31", "map7=-", "map8=31",
                     "dpi_stage=2", "dpi_value=4", "led=2", "wheel=1", "fire=37", "OK"}));
    const Lines features = RunVirtualMouseCommand(rig.mouse, "features");
    ASSERT_EQ(features.size(), 11u);
    EXPECT_EQ(features[0], "07 10 01 01 00 00 00 00 00");
    EXPECT_EQ(features[9], "07 12 25 00 00 00 00 00 00");
    EXPECT_EQ(features[10], "OK");
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "clear"), Lines{"OK"});
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "features"), Lines{"OK"});
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "state")[0], "map1=1");  // clearing keeps the state
}

TEST(VirtualMouse, TakesOnlyWholeReportsOnItsFeatureInterfaceAndLogsThem) {
    VirtualMouse mouse;
    std::vector<std::string> logged;
    mouse.SetFeatureLog([&](const std::string& line) { logged.push_back(line); });
    const auto paths = mouse.MouseInterfacePaths();
    auto feature = mouse.Open(paths[2], HidAccess::Write);
    auto input = mouse.Open(paths[1], HidAccess::Write);
    const Bytes whole = Padded({0x07, 0x20});
    EXPECT_TRUE(feature->SendFeatureReport(whole));
    EXPECT_FALSE(feature->SendFeatureReport(Bytes{0x07, 0x20}));
    EXPECT_FALSE(feature->SendFeatureReport(Bytes(10, 7)));
    EXPECT_FALSE(input->SendFeatureReport(whole));
    EXPECT_EQ(mouse.FeatureReports(), std::vector<Bytes>{whole});
    EXPECT_EQ(logged, (std::vector<std::string>{"07 20 00 00 00 00 00 00 00"}));
    EXPECT_EQ(mouse.Open(u"\\\\?\\nothing", HidAccess::Read), nullptr);
    // Buttons outside the mouse's eight and other report IDs change nothing.
    EXPECT_TRUE(feature->SendFeatureReport(Padded({0x07, 0x10, 0x09, 0x1F})));
    EXPECT_TRUE(feature->SendFeatureReport(Padded({0x05, 0x11, 0x01})));
    EXPECT_FALSE(mouse.State().wheel.has_value());
    for (const auto& entry : mouse.State().map) EXPECT_FALSE(entry.has_value());
}

TEST(VirtualMouse, HostModeButtonsReportPressAndReleaseOthersNothing) {
    ProgramRig rig;
    DiscoverDevice(rig.mouse, rig.link);
    rig.program.config.K = {1, 2, 3, 5, 31, 4, 0};  // button 5 (the mouse's 4) on the host
    rig.Apply();
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "press 5"), (Lines{"input 06 F4 00 00 00 00 00 00 00", "OK"}));
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "release 5"), (Lines{"input 06 00 00 00 00 00 00 00 00", "OK"}));
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "press 1"), (Lines{"input none", "OK"}));
    EXPECT_EQ(RunVirtualMouseCommand(rig.mouse, "report 6 f2"), Lines{"OK"});
    HidHandle& reader = *rig.link.ReadHandle().handle;
    EXPECT_EQ(ReadOne(reader), Padded({0x06, 0xF4}));
    EXPECT_EQ(ReadOne(reader), Padded({0x06, 0x00}));
    EXPECT_EQ(ReadOne(reader), Padded({0x06, 0xF2}));

    // Nobody reading: the oldest reports are dropped, as by a HID driver's ring.
    for (int i = 0; i < 40; ++i) rig.mouse.QueueInputReport(Bytes{0x06, static_cast<std::uint8_t>(i)});
    EXPECT_EQ(ReadOne(reader), Padded({0x06, 40 - kVirtualInputQueue}));
}

TEST(VirtualMouse, UnplugAndPlugChangeTheListKillHandlesAndNotify) {
    VirtualMouse mouse;
    std::vector<std::pair<DeviceChange, std::u16string>> notices;
    mouse.SetNotificationCallback([&](DeviceChange change, const std::u16string& path) {
        notices.emplace_back(change, path);
    });
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "unplug"), Lines{"OK"});
    EXPECT_TRUE(notices.empty());  // nobody registered for notifications yet
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "plug"), Lines{"OK"});

    DeviceLink link;
    ASSERT_TRUE(DiscoverDevice(mouse, link));
    std::shared_ptr<HidHandle> oldReader = link.ReadHandle().handle;
    std::shared_ptr<HidHandle> oldWriter = link.WriteHandle().handle;
    auto blockedRead = std::async(std::launch::async, [&] { return ReadOne(*oldReader); });

    EXPECT_EQ(RunVirtualMouseCommand(mouse, "unplug"), Lines{"OK"});
    ASSERT_EQ(blockedRead.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_TRUE(blockedRead.get().empty());
    EXPECT_FALSE(oldWriter->SendFeatureReport(Padded({0x07, 0x20})));
    EXPECT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].first, DeviceChange::Removal);
    EXPECT_TRUE(IsOurDevice(link, kDeviceInterfaceType, notices.back().second));
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "unplug"), Lines{"ERR already unplugged"});
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "press 1"), Lines{"ERR mouse is unplugged"});
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "report 06 00"), Lines{"ERR mouse is unplugged"});
    EXPECT_FALSE(DiscoverDevice(mouse, link));

    EXPECT_EQ(RunVirtualMouseCommand(mouse, "plug"), Lines{"OK"});
    EXPECT_EQ(RunVirtualMouseCommand(mouse, "plug"), Lines{"ERR already plugged in"});
    EXPECT_EQ(notices.size(), 6u);
    EXPECT_EQ(notices[5].first, DeviceChange::Arrival);
    EXPECT_FALSE(oldWriter->SendFeatureReport(Padded({0x07, 0x20})));  // a replug does not revive them
    ASSERT_TRUE(DiscoverDevice(mouse, link));
    EXPECT_TRUE(link.WriteHandle().handle->SendFeatureReport(Padded({0x07, 0x20})));
}

TEST(VirtualMouse, BadCommandLinesGetAReasonNeverACrash) {
    VirtualMouse mouse;
    const std::pair<const char*, const char*> cases[] = {
        {"", "ERR empty command"},
        {" \t \r\n", "ERR empty command"},
        {"jump", "ERR unknown command 'jump'"},
        {"press", "ERR press needs one button number 1 to 7"},
        {"press 0", "ERR press needs one button number 1 to 7"},
        {"press 8", "ERR press needs one button number 1 to 7"},
        {"press 07", "ERR press needs one button number 1 to 7"},
        {"press 1 2", "ERR press needs one button number 1 to 7"},
        {"release x", "ERR release needs one button number 1 to 7"},
        {"report", "ERR report needs 1 to 9 hex bytes"},
        {"report 1 2 3 4 5 6 7 8 9 10", "ERR report needs 1 to 9 hex bytes"},
        {"report 06 GG", "ERR bad hex byte 'GG'"},
        {"report 106", "ERR bad hex byte '106'"},
        {"report -1", "ERR bad hex byte '-1'"},
        {"features now", "ERR features takes no arguments"},
        {"state 1", "ERR state takes no arguments"},
        {"\x01\xff", "ERR unknown command '?" "?'"},
    };
    for (const auto& [line, answer] : cases) EXPECT_EQ(RunVirtualMouseCommand(mouse, line), Lines{answer}) << line;
    EXPECT_EQ(RunVirtualMouseCommand(mouse, std::string(2000, 'a')), Lines{"ERR line too long"});
    const Lines longWord = RunVirtualMouseCommand(mouse, std::string(100, 'q'));
    EXPECT_EQ(longWord[0].size(), std::string("ERR unknown command ''").size() + 32 + 3);

    const ParsedCommand upper = ParseVirtualMouseCommand("PRESS\t7\r\n");
    ASSERT_TRUE(upper.command.has_value());
    EXPECT_EQ(upper.command->verb, VirtualMouseVerb::Press);
    EXPECT_EQ(upper.command->button, 7);
    const ParsedCommand report = ParseVirtualMouseCommand("report 06 f3 A 0");
    ASSERT_TRUE(report.command.has_value());
    EXPECT_EQ(report.command->bytes, (Bytes{0x06, 0xF3, 0x0A, 0x00}));
}

TEST(VirtualMouse, AHostModePressRunsTheWholeWayToTheExecutor) {
    ProgramRig rig;
    rig.program.config.K = {1, 2, 38, 5, 4, 18, 17};  // button 3 starts the calculator: host mode
    ASSERT_TRUE(DiscoverDevice(rig.mouse, rig.link));
    std::mutex mutex;
    std::vector<int> performed;
    InputListener listener(InputListenerContext{rig.link, rig.handoff, rig.program.published, {}, {}});
    HostActionExecutor executor(HostActionExecutorContext{rig.handoff,
                                                          [&](int button) {
                                                              std::lock_guard<std::mutex> hold(mutex);
                                                              performed.push_back(button);
                                                          },
                                                          {}});
    listener.Start();
    executor.Start();
    rig.Apply();
    EXPECT_FALSE(rig.handoff.HostActionsOn());
    EXPECT_EQ(rig.program.applied.startKeyIndex, 3);

    RunVirtualMouseCommand(rig.mouse, "press 3");  // waiting: dropped
    RunVirtualMouseCommand(rig.mouse, "release 3");  // the mouse confirms
    ASSERT_TRUE(Eventually([&] { return rig.handoff.HostActionsOn(); }));
    RunVirtualMouseCommand(rig.mouse, "press 6");
    RunVirtualMouseCommand(rig.mouse, "release 6");
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard<std::mutex> hold(mutex);
        return performed.size() == 1;
    }));
    std::lock_guard<std::mutex> hold(mutex);
    EXPECT_EQ(performed, std::vector<int>{6});
}
