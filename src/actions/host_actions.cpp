#include "actions/host_actions.h"

#include <algorithm>
#include <vector>

#include "config/function_catalogue.h"

namespace {
constexpr std::uint8_t kVkPause = 0x13;
constexpr std::uint8_t kVkSnapshot = 0x2C;
constexpr std::uint8_t kVkLeftWin = 0x5B;

MouseButtonEvent ButtonEvent(std::uint8_t key, bool down) {
    if (key == kLeftButtonKey) return down ? MouseButtonEvent::LeftDown : MouseButtonEvent::LeftUp;
    if (key == kRightButtonKey) return down ? MouseButtonEvent::RightDown : MouseButtonEvent::RightUp;
    return down ? MouseButtonEvent::MiddleDown : MouseButtonEvent::MiddleUp;
}

// A key or mouse button of a macro goes down or up.
void Inject(InputInjectorPort& injector, std::uint8_t key, bool press) {
    if (key >= kLeftButtonKey) {
        injector.MouseButton(ButtonEvent(key, press));
    } else {
        const std::uint32_t extended = IsExtendedKey(key) ? kKeyExtended : 0;
        injector.KeyEvent(key, PlaybackScanCode(key, injector), extended | (press ? 0 : kKeyUp));
    }
}

// Keys and buttons that a playback pressed and has not released yet, in press order. However
// the playback ends (stopped, or a macro whose releases were cut off), they go up, last first:
// a key left down would stay down in the system's key state.
class HeldInputs {
public:
    explicit HeldInputs(InputInjectorPort& injector) : injector_(injector) {}
    ~HeldInputs() {
        for (auto it = held_.rbegin(); it != held_.rend(); ++it) Inject(injector_, *it, false);
    }
    HeldInputs(const HeldInputs&) = delete;
    HeldInputs& operator=(const HeldInputs&) = delete;

    void Press(std::uint8_t key) {
        const std::uint8_t id = Id(key);
        if (std::find(held_.begin(), held_.end(), id) == held_.end()) held_.push_back(id);
    }
    void Release(std::uint8_t key) {
        const auto it = std::find(held_.begin(), held_.end(), Id(key));
        if (it != held_.end()) held_.erase(it);
    }

private:
    // Every mouse code from 242 up is the middle button.
    static std::uint8_t Id(std::uint8_t key) { return key > kMiddleButtonKey ? kMiddleButtonKey : key; }
    InputInjectorPort& injector_;
    std::vector<std::uint8_t> held_;
};
}  // namespace

bool IsExtendedKey(std::uint8_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2C || vk == 0x2D || vk == 0x2E || vk == 0x5B || vk == 0x5D ||
           vk == 0x6F || vk == 0x90 || vk == 0xA1 || vk == 0xA3 || vk == 0xA5;
}

std::uint8_t PlaybackScanCode(std::uint8_t vk, InputInjectorPort& injector) {
    // The layout's table has no usable entry for these three.
    if (vk == kVkSnapshot) return 0x37;
    if (vk == kVkPause) return 0x45;
    if (vk == kVkLeftWin) return 0x5B;
    return static_cast<std::uint8_t>(injector.ScanCodeOf(vk) & 0xFF);
}

void HostActions::PerformButton(int button) {
    if (button < 1 || button > kButtonCount) return;
    const std::shared_ptr<const ConfigSnapshot> config = config_.Read();
    if (const int direction = config->DpiDirection(button)) {
        window_.Post({HostRequestKind::StepDpi, direction});
        return;
    }
    RunCode(config->Code(button));
}

void HostActions::CtrlShortcut(std::uint8_t letter) {
    const std::uint8_t scan = ScanOf(letter);
    Key(kVkControl, 0, 0);
    Key(letter, scan, 0);
    clock_.SleepMs(kShortcutHoldMs);
    Key(letter, scan, kKeyUp);
    Key(kVkControl, 0, kKeyUp);
}

void HostActions::AltF4() {
    const std::uint8_t scan = ScanOf(kVkF4);
    Key(kVkMenu, 0, 0);
    Key(kVkF4, scan, 0);
    Key(kVkF4, scan, kKeyUp);
    Key(kVkMenu, 0, kKeyUp);
}

void HostActions::RunCode(std::int32_t code) {
    const FunctionEntry& function = FunctionOf(code);
    switch (function.action) {
        case HostAction::None: break;
        // The stage steps by the direction of the last apply (PerformButton); a DPI code chosen
        // but not applied yet does nothing.
        case HostAction::StepDpi: break;
        case HostAction::ToggleLed: window_.Post({HostRequestKind::ToggleLed}); break;
        // The key goes up again too: a key left down would stay down in the system's key state.
        case HostAction::Mute:
            Key(kVkVolumeMute, 0, 0);
            Key(kVkVolumeMute, 0, kKeyUp);
            break;
        case HostAction::Copy: CtrlShortcut('C'); break;
        case HostAction::Paste: CtrlShortcut('V'); break;
        case HostAction::SelectAll: CtrlShortcut('A'); break;
        case HostAction::Undo: CtrlShortcut('Z'); break;
        case HostAction::CloseWindow: AltF4(); break;
        case HostAction::OpenComputer: shell_.OpenFolder(kComputerFolder); break;
        case HostAction::Lock: shell_.LockWorkstation(); break;
        case HostAction::Calculator: shell_.StartSystemProgram(u"calc.exe"); break;
        case HostAction::CommandPrompt: shell_.StartSystemProgram(u"cmd.exe"); break;
        case HostAction::NextConfiguration: window_.Post({HostRequestKind::NextConfiguration}); break;
        // A slot at or past the macro count plays nothing.
        case HostAction::PlayMacro: PlayMacro(function.macro); break;
    }
}

void HostActions::PlayMacro(int index) {
    const std::optional<MacroRecord> snapshot = macros_.Snapshot(index);
    if (!snapshot) return;
    const MacroRecord& macro = *snapshot;
    const std::int32_t macroMode2 = config_.Read()->config.MACRO_MODE2;
    const int passes = macroMode2 != 0 ? kMacroMode2Passes : (macro.repeatMode == 0 ? 1 : macro.repeatCount);
    const int events = macro.BoundedEventCount();

    const std::stop_token stop = handoff_.PressStop();
    PreciseTiming precise(clock_);
    HeldInputs held(injector_);
    for (int pass = 0; pass < passes && !stop.stop_requested(); ++pass) {
        for (int k = 0; k < events; ++k) {
            const MacroEvent& e = macro.events[k];
            const bool press = e.action == kActionPress;
            if (press || e.action == kActionRelease) {
                Inject(injector_, e.key, press);
                if (press) held.Press(e.key);
                else held.Release(e.key);
            }
            if (!clock_.WaitMs(e.delay, stop)) break;
        }
    }
}
