// Applying the active configuration: recording the current slot, saving the applied copy,
// downloading buttons, wheel, DPI stage with LED and fire interval into the mouse, setting the
// Windows pointer speed and wheel lines, and preparing the host side (DPI directions, and whether
// the user must first press a host-mode button to switch host actions on).
#pragma once

#include <cstdint>
#include <functional>

#include "core/program_state.h"
#include "core/thread_flags.h"
#include "device/feature_report.h"
#include "platform/profile_port.h"
#include "platform/system_settings_port.h"

// Windows pointer speed for DPI_SPEED: 0..8 give 1, 2, 4, ..., 16; any other value 18.
int PointerSpeedFor(std::uint8_t dpiSpeed);
// Windows wheel scroll lines for WHEEL_SPEED: one more, in 8 bits.
unsigned WheelLinesFor(std::uint8_t wheelSpeed);

struct ApplyContext {
    ProgramState& program;  // paths, CurConfig and ActiveConfig
    ProfilePort& profile;   // config.ini
    FeatureReportSender& reports;
    ThreadFlags& flags;
    SystemSettingsPort& settings;
    std::function<void()> invalidate;           // repaint the whole main window
    // Asks the window to blink the start key, once per wait for the mouse. Called with the
    // configuration lock held, so it must not wait for anything that takes that lock.
    std::function<void()> startBlinkIndicator;
};

// The whole apply, under the configuration lock. A save of config.ini that fails sets
// ProgramState::configSaveFailed and the rest of the apply goes on. Runs on the window's thread, or on the host action thread
// after a configuration switch.
void ApplyConfiguration(ApplyContext& context);
