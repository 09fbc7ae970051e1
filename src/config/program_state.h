// The program's state: its paths, the language, the current slot and the one ActiveConfig, with
// what the last apply left behind. The window's thread owns it: only that thread loads, edits,
// applies and saves it. The mouse's threads read the copy it publishes after each change. The
// composition root owns one; portable code takes it by reference.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "config/active_config.h"
#include "config/published_config.h"
#include "core/app_paths.h"
#include "core/language.h"

// What the last apply and the host actions since then left in the mouse.
struct AppliedState {
    std::uint8_t led = 0;        // LED_STATUS as last applied
    std::uint8_t ledToggle = 0;  // the LED's off mode when the LED function switched it off
    int startKeyIndex = 0;       // button 1..7 that switches host actions on
    std::array<std::int8_t, kButtonCount> dpiDirection{};  // see ConfigSnapshot
};

// A program profile runs: the slot of the program in front, which config.ini's CurConfig does
// not record.
struct RunningProfile {
    std::u16string program;  // its file name, for the window, the tray and the indicator
    int chosenSlot = 0;      // the user's slot, CurConfig in config.ini, back once it leaves
};

struct ProgramState {
    AppPaths paths;
    std::atomic<LanguageMode> language{LanguageMode::Chinese};
    // A write of config.ini failed; the window tells the user once and clears it. Atomic because
    // a repaint asked for by the listener's thread looks at it too.
    std::atomic<bool> configSaveFailed{false};

    int CurConfig = 0;  // the slot the window shows and the mouse runs
    std::optional<RunningProfile> profile;
    bool indicatorOn = true;       // [Init] OSD
    bool trayNoticeShown = false;  // [Init] TrayNotice: the first hide was explained
    std::u16string CurrentSection;
    ActiveConfig config;
    AppliedState applied;
    PublishedConfig published;

    // The slot config.ini records as the user's.
    int ChosenSlot() const { return profile ? profile->chosenSlot : CurConfig; }

    // The mouse's threads see config and the DPI directions as they are now.
    void Publish() { published.Publish({config, applied.dpiDirection}); }
};
