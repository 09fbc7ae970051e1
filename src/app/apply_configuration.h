// Applying the active configuration: recording the current slot, saving the applied copy,
// downloading buttons, wheel, DPI stage with LED and fire interval into the mouse, setting the
// Windows pointer speed and wheel lines, and preparing the host side (DPI directions, and whether
// the user must first press a host-mode button to switch host actions on).
#pragma once

#include <cstdint>
#include <functional>

#include "config/program_state.h"
#include "core/press_handoff.h"
#include "device/feature_report.h"
#include "platform/profile_port.h"
#include "platform/system_settings_port.h"

// Windows pointer speed for DPI_SPEED: 0..8 give 1, 2, 4, ..., 16; any other value 18.
int PointerSpeedFor(std::uint8_t dpiSpeed);
// Windows wheel scroll lines for WHEEL_SPEED: one more, in 8 bits.
unsigned WheelLinesFor(std::uint8_t wheelSpeed);

struct ApplyContext {
    ProgramState& program;  // paths, CurConfig, ActiveConfig and what the apply leaves
    ProfilePort& profile;   // config.ini
    FeatureReportSender& reports;
    PressHandoff& handoff;  // host actions on, or on hold until the mouse confirms
    SystemSettingsPort& settings;
    std::function<void()> invalidate;           // repaint the whole main window
    // Asks the window to blink the start key: host actions wait for the mouse.
    std::function<void()> startBlinkIndicator;
};

// The whole apply, on the window's thread, which owns the configuration; the mouse's threads see
// its outcome once it is over. A save of config.ini that fails sets
// ProgramState::configSaveFailed and the rest of the apply goes on.
void ApplyConfiguration(ApplyContext& context);
