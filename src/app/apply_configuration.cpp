#include "app/apply_configuration.h"

#include "config/config_file.h"
#include "config/function_catalogue.h"
#include "device/button_mapping.h"

namespace {
constexpr int kFastestTableSpeed = 8;
constexpr int kOtherSpeed = 18;

void Invalidate(ApplyContext& context) {
    if (context.invalidate) context.invalidate();
}

// Buttons in order; the first host-mode button puts host actions on hold until the mouse confirms.
void ApplyButtons(ApplyContext& context, const ActiveConfig& config) {
    AppliedState& applied = context.program.applied;
    for (int button = 1; button <= kButtonCount; ++button) {
        const std::int32_t code = config.K[static_cast<std::size_t>(button - 1)];
        applied.dpiDirection[static_cast<std::size_t>(button - 1)] = static_cast<std::int8_t>(DpiDirectionOf(code));
        // A code outside the catalogue has no device function; sending the previous button's
        // byte would give this button a function nobody chose, so it is left as it is.
        const std::optional<std::uint8_t> function = DeviceMappingOf(code);
        if (!function) continue;
        context.reports.SendButtonMapping(HardwareButtonId(button), *function);
        if (*function != kHostMode || !context.handoff.HostActionsOn()) continue;
        context.handoff.SetHostActionsOn(false);
        applied.startKeyIndex = button;
        if (context.startBlinkIndicator) context.startBlinkIndicator();
    }
}
}  // namespace

int PointerSpeedFor(std::uint8_t dpiSpeed) {
    if (dpiSpeed == 0) return 1;
    if (dpiSpeed <= kFastestTableSpeed) return 2 * dpiSpeed;
    return kOtherSpeed;
}

unsigned WheelLinesFor(std::uint8_t wheelSpeed) { return (wheelSpeed + 1u) % 256u; }

void ApplyConfiguration(ApplyContext& context) {
    ProgramState& program = context.program;
    ActiveConfig& config = program.config;
    ConfigFile file(context.profile, config);
    const std::u16string& ini = program.paths.ConfigIniPath;

    context.handoff.SetHostActionsOn(true);
    // A failed save does not stop the apply: the mouse still gets the configuration the window
    // shows, and the user is told once the apply is over.
    // A program profile's slot is not the user's: config.ini keeps the chosen one.
    bool saved = file.WriteCurConfig(ini, program.ChosenSlot());
    saved = file.SaveConfig(ini, kAppliedSlot) && saved;

    ApplyButtons(context, config);
    // The mouse's threads act on the new buttons from here on.
    program.Publish();

    context.reports.SendWheelMode(static_cast<std::uint8_t>(config.WHEEL_STATUS));

    config.AppliedStageValues = config.DPI_SET;
    program.applied.led = config.LED_STATUS;
    // The stage picks a table entry, so it is bounded; byte 2 names the same stage.
    const int stage = config.BoundedDpiLevel();
    context.reports.SendDpiLed(static_cast<std::uint8_t>(stage),
                               DpiLedByte(config.AppliedStageValues[static_cast<std::size_t>(stage)], config.LED_STATUS));

    Invalidate(context);

    if (context.settings.MouseSpeed()) context.settings.SetMouseSpeed(PointerSpeedFor(config.DPI_SPEED));
    if (context.settings.WheelScrollLines()) context.settings.SetWheelScrollLines(WheelLinesFor(config.WHEEL_SPEED));

    context.reports.SendFireInterval(config.FIRE_TIME);

    saved = file.SaveConfig(ini, program.CurConfig) && saved;
    if (!saved) program.configSaveFailed.store(true);
}
