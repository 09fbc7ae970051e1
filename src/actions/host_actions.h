// The functions that the host performs for a button in host mode: shortcuts, shell actions and
// macro playback on the executor's thread, which calls PerformButton for the button whose press
// the mouse reported; DPI stepping, the LED toggle and the configuration switch change the
// configuration, so they go to the window's thread as requests.
#pragma once

#include <array>
#include <cstdint>
#include <stop_token>
#include <string>

#include "actions/host_request.h"
#include "config/published_config.h"
#include "core/press_handoff.h"
#include "macros/macro_store.h"
#include "platform/clock_port.h"
#include "platform/input_injector_port.h"
#include "platform/shell_port.h"

// Virtual keys the shortcuts use.
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
constexpr std::uint8_t kVkF4 = 0x73;
constexpr std::uint8_t kVkVolumeMute = 0xAD;
constexpr std::uint32_t kShortcutHoldMs = 20;
constexpr int kMacroMode2Passes = 100000;
inline constexpr char16_t kComputerFolder[] = u"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// Extended-key flag and scan code that playback gives a virtual key.
bool IsExtendedKey(std::uint8_t vk);
std::uint8_t PlaybackScanCode(std::uint8_t vk, InputInjectorPort& injector);

class HostActions {
public:
    // handoff: the stop of the press being performed. window: where configuration changes go.
    HostActions(const PublishedConfig& config, PressHandoff& handoff, MacroStore& macros, InputInjectorPort& injector,
                ShellPort& shell, ClockPort& clock, HostRequestPort& window)
        : config_(config), handoff_(handoff), macros_(macros), injector_(injector), shell_(shell), clock_(clock),
          window_(window) {}

    // Performs the function of button 1..7 (other numbers do nothing) as the configuration
    // published last gives it: a DPI direction of the last apply wins over the button's code.
    // A macro plays until its passes end or a stop is requested, and then releases the keys and
    // buttons it left pressed.
    void PerformButton(int button);

    void PlayMacro(int index);
    // The host action of a code, as the catalogue names it.
    void RunCode(std::int32_t code);

private:
    void CtrlShortcut(std::uint8_t letter);
    void AltF4();
    void Key(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) { injector_.KeyEvent(vk, scan, flags); }
    std::uint8_t ScanOf(std::uint8_t vk) { return static_cast<std::uint8_t>(injector_.ScanCodeOf(vk) & 0xFF); }

    const PublishedConfig& config_;
    PressHandoff& handoff_;
    MacroStore& macros_;
    InputInjectorPort& injector_;
    ShellPort& shell_;
    ClockPort& clock_;
    HostRequestPort& window_;
};
