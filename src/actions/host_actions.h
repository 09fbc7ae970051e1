// The functions that the host performs for a button in host mode: DPI stepping, the LED toggle,
// shortcuts, shell actions, the configuration switch and macro playback. The executor thread
// calls PerformButton for the button whose press the mouse reported.
#pragma once

#include <array>
#include <cstdint>
#include <stop_token>
#include <string>

#include "core/program_state.h"
#include "macros/macro_store.h"
#include "platform/clock_port.h"
#include "platform/input_injector_port.h"
#include "platform/profile_port.h"
#include "platform/shell_port.h"

// Virtual keys the shortcuts use.
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
constexpr std::uint8_t kVkF4 = 0x73;
constexpr std::uint8_t kVkVolumeMute = 0xAD;
constexpr std::uint32_t kShortcutHoldMs = 20;
constexpr int kMacroMode2Passes = 100000;
inline constexpr char16_t kComputerFolder[] = u"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// What the actions need from the threads' shared flags, the device link and the main window.
// The program implements it over its thread flags, FeatureReport and ApplyConfiguration.
class HostActionLinks {
public:
    virtual ~HostActionLinks() = default;
    // The stop of the playback under way: requested by the input listener when the playing
    // button is pressed again (or released, with MACRO_MODE2), and when the program ends.
    virtual std::stop_token PlaybackStop() = 0;
    // DpiDirection of button 1..7 from the last apply: 2 cycle, 1 up, -1 down, 0 none.
    virtual int DpiDirection(int button) = 0;
    virtual int LedToggle() = 0;
    virtual void SetLedToggle(int value) = 0;
    virtual int AppliedLed() = 0;
    // The DPI stage and LED command to the mouse.
    virtual void SendDpiLed(int dpiLevel, int led) = 0;
    // Downloads ActiveConfig to the mouse and Windows and records the slot as current.
    virtual void ApplyConfiguration() = 0;
    virtual void InvalidateMainWindow() = 0;
};

// Extended-key flag and scan code that playback gives a virtual key.
bool IsExtendedKey(std::uint8_t vk);
std::uint8_t PlaybackScanCode(std::uint8_t vk, InputInjectorPort& injector);

class HostActions {
public:
    HostActions(ProgramState& state, ProfilePort& profile, MacroStore& macros, InputInjectorPort& injector,
                ShellPort& shell, ClockPort& clock, HostActionLinks& links)
        : state_(state), profile_(profile), macros_(macros), injector_(injector), shell_(shell), clock_(clock),
          links_(links) {}

    // Performs the function of button 1..7 (other numbers do nothing). Runs on the executor's
    // thread; a macro plays until its passes end or a stop is requested, and then releases the
    // keys and buttons it left pressed.
    void PerformButton(int button);

    // The parts, callable on their own.
    void StepDpi(int direction);
    void ToggleLed();
    void SwitchConfiguration();
    void PlayMacro(int index);
    // The host action of a code, as the catalogue names it.
    void RunCode(std::int32_t code);

private:
    void CtrlShortcut(std::uint8_t letter);
    void AltF4();
    void Key(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) { injector_.KeyEvent(vk, scan, flags); }
    std::uint8_t ScanOf(std::uint8_t vk) { return static_cast<std::uint8_t>(injector_.ScanCodeOf(vk) & 0xFF); }

    ProgramState& state_;
    ProfilePort& profile_;
    MacroStore& macros_;
    InputInjectorPort& injector_;
    ShellPort& shell_;
    ClockPort& clock_;
    HostActionLinks& links_;
};
