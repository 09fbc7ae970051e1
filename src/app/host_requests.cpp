#include "app/host_requests.h"

#include <algorithm>

#include "config/config_file.h"
#include "core/led_mode.h"

namespace {
constexpr std::uint8_t kOff = kLedOff;

bool StageEnabled(const ActiveConfig& config, int stage) {
    return stage >= 0 && stage < kDpiStageCount && config.DPI_SET_EN[stage] == 1;
}

// Byte 2 the stage, byte 3 the applied value of that stage with the LED value.
void SendDpiLed(ApplyContext& context, int dpiLevel, int led) {
    const int stage = std::clamp(dpiLevel, 0, kDpiStageCount - 1);
    const std::uint8_t value = context.program.config.AppliedStageValues[static_cast<std::size_t>(stage)];
    context.reports.SendDpiLed(static_cast<std::uint8_t>(stage), DpiLedByte(value, static_cast<std::uint8_t>(led)));
}

void Invalidate(ApplyContext& context) {
    if (context.invalidate) context.invalidate();
}
}  // namespace

void StepDpi(ApplyContext& context, int direction) {
    ProgramState& program = context.program;
    ActiveConfig& config = program.config;
    int level = config.BoundedDpiLevel();
    if (direction == -1) {
        for (int s = level - 1; s >= 0; --s) {
            if (StageEnabled(config, s)) { level = s; break; }
        }
    } else if (direction == 1) {
        for (int s = level + 1; s < kDpiStageCount; ++s) {
            if (StageEnabled(config, s)) { level = s; break; }
        }
    } else if (direction == 2) {
        // A full turn ends where it started, so a single enabled stage stays put.
        for (int step = 1; step <= kDpiStageCount; ++step) {
            const int s = (level + step) % kDpiStageCount;
            if (StageEnabled(config, s)) { level = s; break; }
        }
    }
    config.DPI_LEVEL = level;
    const AppliedState& applied = program.applied;
    SendDpiLed(context, level, applied.ledToggle == kOff ? kOff : applied.led);
    // Saved before the repaint is asked for: the window learns of a failed save with it.
    if (!ConfigFile(context.profile, config).SaveDpiLevel(program.paths.ConfigIniPath, program.CurConfig)) {
        program.configSaveFailed.store(true);
    }
    Invalidate(context);
}

void ToggleLed(ApplyContext& context) {
    AppliedState& applied = context.program.applied;
    applied.ledToggle = applied.ledToggle != kOff ? kOff : applied.led;
    SendDpiLed(context, context.program.config.BoundedDpiLevel(), applied.ledToggle);
    Invalidate(context);
}

void SwitchConfiguration(ApplyContext& context) {
    ProgramState& program = context.program;
    // Any slot number outside 1..4 (none recorded, or a hand-edited one) restarts at slot 1.
    SelectSlot(context.profile, program, (program.CurConfig >= 1 && program.CurConfig < 5) ? program.CurConfig + 1 : 1);
    ApplyConfiguration(context);
    Invalidate(context);
}

void CarryOut(ApplyContext& context, HostRequest request) {
    switch (request.kind) {
        case HostRequestKind::StepDpi: StepDpi(context, request.direction); break;
        case HostRequestKind::ToggleLed: ToggleLed(context); break;
        case HostRequestKind::NextConfiguration: SwitchConfiguration(context); break;
    }
}
