// The mouse threads at full load: 10,000 presses of host-mode buttons go as input reports through
// the real listener to the real executor, which performs their host actions against fakes and
// posts the configuration changes to the window's thread, while that thread, the configuration's
// only owner, carries those out, applies, switches slots, edits, paints and edits macros. Built
// under ThreadSanitizer (build/tsan), where any data race ends the run with a report and a failure.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

#include "actions/host_action_executor.h"
#include "actions/host_actions.h"
#include "app/apply_configuration.h"
#include "app/host_requests.h"
#include "config/config_file.h"
#include "core/press_handoff.h"
#include "device/button_mapping.h"
#include "device/discovery.h"
#include "device/feature_report.h"
#include "device/input_listener.h"
#include "support/eventually.h"
#include "support/fake_clock.h"
#include "support/fake_hid.h"
#include "support/fake_settings.h"
#include "support/memory_profile.h"
#include "support/recording_injector.h"
#include "support/recording_shell.h"

namespace {
using namespace std::chrono_literals;

constexpr int kPresses = 10000;
constexpr std::chrono::milliseconds kStepLimit = 10s;  // one report handled, or the test fails
const std::u16string kIni = u"config.ini";

// What the window's edits give buttons: a click, the three DPI steps, the LED toggle, mute, copy,
// the computer folder, the lock, the configuration switch and two macros.
constexpr std::array<std::int32_t, 12> kCodes = {1, 6, 17, 18, 19, 26, 31, 36, 37, 40, 41, 42};

enum UiOp { kEditButton, kEditStages, kApply, kSwitchSlot, kPaint, kEditMacro, kSaveAndReload, kUiOps };

// Set while the executor performs a press, so an apply can tell it runs on that thread.
thread_local bool performingPress = false;

// The window's message queue, as far as the executor's requests go.
struct RequestQueue : HostRequestPort {
    void Post(HostRequest request) override {
        std::lock_guard<std::mutex> hold(mutex);
        queue.push_back(request);
    }
    std::deque<HostRequest> TakeAll() {
        std::lock_guard<std::mutex> hold(mutex);
        return std::exchange(queue, {});
    }
    std::mutex mutex;
    std::deque<HostRequest> queue;
};

MacroRecord TwoKeyMacro(std::u16string_view name, std::uint8_t key) {
    MacroRecord record = NewMacro(name);
    record.events[0] = {key, kActionPress, 1};
    record.events[1] = {kLeftButtonKey, kActionPress, 1};
    record.events[2] = {kLeftButtonKey, kActionRelease, 1};
    record.events[3] = {key, kActionRelease, 1};
    record.eventCount = 4;
    return record;
}

struct Rig {
    FakeHidPort port;
    DeviceLink link;
    ProgramState program;
    MemoryProfile profile;
    PressHandoff handoff;
    FeatureReportSender reports{link};
    FakeSettings settings;
    RecordingInjector injector;
    RecordingShell shell;
    EventLog clockLog;
    FakeClock clock{clockLog};
    MacroStore macros;
    std::atomic<long> invalidations{0};
    std::atomic<int> appliesOnExecutor{0};

    RequestQueue window;
    std::atomic<int> requestsCarriedOut{0};

    ApplyContext apply{program, profile, reports, handoff, settings, [this] { invalidations.fetch_add(1); }, {}};
    HostActions actions{program.published, handoff, macros, injector, shell, clock, window};

    std::atomic<int> performed{0};
    std::atomic<int> lastButton{0};
    std::array<std::atomic<int>, kButtonCount + 1> performedOf{};
    InputListener listener{InputListenerContext{link, handoff, program.published,
                                                [this] { invalidations.fetch_add(1); }, {}}};
    HostActionExecutor executor{HostActionExecutorContext{handoff,
                                                          [this](int button) {
                                                              performingPress = true;
                                                              actions.PerformButton(button);
                                                              performingPress = false;
                                                              lastButton.store(button);
                                                              performedOf[static_cast<std::size_t>(button)].fetch_add(1);
                                                              performed.fetch_add(1);
                                                          },
                                                          {}}};

    Rig() {
        port.listing = {MouseInput(), MouseFeature()};
        program.paths.ConfigIniPath = kIni;
        program.language.store(LanguageMode::English);
        profile.recordReads = false;
        settings.onSet = [this] {
            if (performingPress) appliesOnExecutor.fetch_add(1);
        };
        ConfigFile file(profile, program.config);
        file.FactoryReset(kIni, 1, LanguageMode::English);
        // Every slot full of host actions, so a switch keeps the executor busy.
        for (int slot = 1; slot <= 5; ++slot) {
            SelectSlot(profile, program, slot);
            for (int button = 2; button <= kButtonCount; ++button) {
                program.config.K[static_cast<std::size_t>(button - 1)] =
                    kCodes[static_cast<std::size_t>(slot + button) % kCodes.size()];
            }
            program.config.K[0] = kLeftClickCode;
            file.SaveConfig(kIni, slot);
        }
        SelectSlot(profile, program, 1);
        macros.Edit([](MacroStoreData& data) {
            data.records[0] = TwoKeyMacro(u"first", 'A');
            data.records[1] = TwoKeyMacro(u"second", 'B');
            data.count = 2;
        });
    }

    void StopAll() {
        listener.Stop();
        executor.Stop();
    }
};

// The window's thread: the executor's requests in their order, then one of its own changes, and
// what changed published; until stopped.
void RunWindow(Rig& rig, std::stop_token stop, std::array<std::atomic<int>, kUiOps>& done) {
    std::mt19937 random(1);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    ProgramState& program = rig.program;
    ActiveConfig painted;
    // Every kind of change comes once first: on a loaded machine the requests may leave the
    // window time for few others.
    for (int round = 0; !stop.stop_requested(); ++round) {
        for (const HostRequest request : rig.window.TakeAll()) {
            CarryOut(rig.apply, request);
            program.Publish();
            rig.requestsCarriedOut.fetch_add(1);
        }
        const int op = round < kUiOps ? round : pick(kUiOps);
        switch (op) {
            case kEditButton:
                program.config.SetButtonFunction(1 + pick(kButtonCount), kCodes[static_cast<std::size_t>(pick(kCodes.size()))]);
                break;
            case kEditStages: {
                const int stage = pick(kDpiStageCount);
                program.config.SetStageValue(stage, static_cast<std::uint8_t>(pick(kDpiStepCount)));
                if (pick(2) == 0) program.config.ToggleStageEnabled(stage);
                program.config.SelectStage(pick(kDpiStageCount));
                program.config.SetFireTime(pick(kFireTimeMax));
                break;
            }
            case kApply: ApplyConfiguration(rig.apply); break;
            case kSwitchSlot:
                SelectSlot(rig.profile, program, 1 + pick(5));
                ApplyConfiguration(rig.apply);
                break;
            case kPaint:
                painted = program.config;
                rig.macros.Read([](const MacroStoreData& data) { return data.records[0].Name(); });
                (void)rig.handoff.HostActionsOn();
                break;
            case kEditMacro:
                rig.macros.Edit([&](MacroStoreData& data) {
                    MacroRecord& record = data.records[static_cast<std::size_t>(pick(2))];
                    record.events[0].delay = static_cast<std::uint16_t>(pick(3));
                    record.repeatMode = static_cast<std::uint8_t>(pick(2));
                    record.repeatCount = static_cast<std::uint16_t>(1 + pick(2));
                });
                break;
            case kSaveAndReload: {
                // As closing to the tray does.
                ConfigFile file(rig.profile, program.config);
                file.SaveDpiLevel(kIni, kAppliedSlot);
                file.LoadConfig(kIni, kAppliedSlot, false, program.language.load());
                break;
            }
        }
        program.Publish();
        done[static_cast<std::size_t>(op)].fetch_add(1);
        std::this_thread::sleep_for(200us);
    }
}
}  // namespace

TEST(ThreadStress, PressesReachTheExecutorWhileTheWindowAppliesSwitchesAndEdits) {
    Rig rig;
    ASSERT_TRUE(DiscoverDevice(rig.port, rig.link));
    ApplyConfiguration(rig.apply);
    rig.listener.Start();
    rig.executor.Start();
    FakeDevice& device = *rig.port.device;
    ASSERT_TRUE(Eventually([&] { return device.Reads() == 1; }, kStepLimit)) << "the listener never read";

    std::array<std::atomic<int>, kUiOps> uiDone{};
    std::jthread window([&](std::stop_token stop) { RunWindow(rig, stop, uiDone); });

    std::size_t pushed = 0;
    // One report from the mouse; returns once the listener has handled it and reads again.
    const auto report = [&](std::uint8_t code) {
        device.Push(Padded({kInputReportId, code}));
        ++pushed;
        return Eventually([&] { return device.Reads() == pushed + 1; }, kStepLimit);
    };
    std::array<int, kButtonCount + 1> sent{};
    int ignored = 0;
    int wrongButton = 0;
    for (int i = 0; i < kPresses; ++i) {
        const int button = 1 + i % kButtonCount;
        for (;;) {
            const int before = rig.performed.load();
            ASSERT_TRUE(report(static_cast<std::uint8_t>(kPressCodeBase + HardwareButtonId(button)))) << "press " << i;
            // The release also confirms a new configuration when host actions wait for one.
            ASSERT_TRUE(report(0x00)) << "release " << i;
            ASSERT_TRUE(Eventually([&] { return rig.handoff.PendingInput() == 0; }, kStepLimit)) << "press " << i;
            if (rig.performed.load() == before + 1) {
                if (rig.lastButton.load() != button) ++wrongButton;
                break;
            }
            // An apply in between put host actions on hold until the mouse confirmed it.
            ASSERT_EQ(rig.performed.load(), before) << "press " << i;
            ++ignored;
        }
        ++sent[static_cast<std::size_t>(button)];
    }
    window.request_stop();
    window.join();
    rig.StopAll();

    EXPECT_EQ(rig.performed.load(), kPresses);
    EXPECT_EQ(wrongButton, 0);
    for (int button = 1; button <= kButtonCount; ++button) {
        EXPECT_EQ(rig.performedOf[static_cast<std::size_t>(button)].load(), sent[static_cast<std::size_t>(button)])
            << "button " << button;
    }
    EXPECT_LT(ignored, kPresses);
    EXPECT_EQ(device.Reads(), pushed + 1);
    // Every kind of change ran alongside the presses, and the presses did real host work: keys,
    // shell actions, and configuration changes that the window's thread alone carried out.
    for (int op = 0; op < kUiOps; ++op) EXPECT_GT(uiDone[static_cast<std::size_t>(op)].load(), 0) << "window op " << op;
    EXPECT_GT(rig.injector.events, 0);
    EXPECT_GT(rig.shell.calls, 0);
    EXPECT_EQ(rig.appliesOnExecutor.load(), 0);
    EXPECT_GT(rig.requestsCarriedOut.load(), 0);
    EXPECT_GT(rig.invalidations.load(), 0);

    // No edit was torn: the derived fields agree with what they derive from.
    const ActiveConfig& config = rig.program.config;
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        EXPECT_EQ(config.ValueItem[static_cast<std::size_t>(stage)],
                  ValueItemOf(stage, config.DPI_SET[static_cast<std::size_t>(stage)]));
    }
    EXPECT_GE(rig.program.CurConfig, 1);
    EXPECT_LE(rig.program.CurConfig, 5);
}
