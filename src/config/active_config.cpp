#include "config/active_config.h"

#include <algorithm>

#include "core/led_mode.h"

namespace {
int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }
}  // namespace

void ActiveConfig::SetStageValue(int stage, std::uint8_t value) {
    if (stage < 0 || stage >= kDpiStageCount) return;
    DPI_SET[stage] = value;
    ValueItem[stage] = ValueItemOf(stage, value);
}

void ActiveConfig::ToggleStageEnabled(int stage) {
    if (stage < 0 || stage >= kDpiStageCount) return;
    if (DPI_SET_EN[stage] != 1) {
        DPI_SET_EN[stage] = 1;
        return;
    }
    DPI_SET_EN[stage] = 0;
    if (stage != DPI_LEVEL) return;
    for (int step = 1; step < kDpiStageCount; ++step) {
        const int next = (stage + step) % kDpiStageCount;
        if (DPI_SET_EN[next] == 1) {
            DPI_LEVEL = next;
            return;
        }
    }
    DPI_SET_EN[stage] = 1;  // the last enabled stage
}

void ActiveConfig::SelectStage(int stage) {
    if (stage >= 0 && stage < kDpiStageCount && DPI_SET_EN[stage] == 1) DPI_LEVEL = stage;
}

bool ActiveConfig::OtherButtonHasLeftClick(int button) const {
    for (int other = 1; other <= kButtonCount; ++other) {
        if (other != button && K[other - 1] == kLeftClickCode) return true;
    }
    return false;
}

void ActiveConfig::EnsureLeftClick() {
    if (!OtherButtonHasLeftClick(0)) K[0] = kLeftClickCode;
}

void ActiveConfig::SetButtonFunction(int button, std::int32_t code) {
    if (button < 1 || button > kButtonCount) return;
    K[button - 1] = code;
    if (code == kLeftClickCode || OtherButtonHasLeftClick(button)) return;
    K[button == kButtonCount ? button - 1 : button] = kLeftClickCode;
}

void ActiveConfig::SetFireTime(std::int64_t value) {
    FIRE_TIME = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, kFireTimeMax));
}

int ActiveConfig::BoundedDpiLevel() const { return Clamp(DPI_LEVEL, 0, kDpiStageCount - 1); }

int ActiveConfig::BoundedStageValue(int stage) const {
    return Clamp(DPI_SET[Clamp(stage, 0, kDpiStageCount - 1)], 0, kDpiStepCount - 1);
}

int ActiveConfig::BoundedLedStatus() const { return Clamp(LED_STATUS, 0, kLedModeCount - 1); }

void SetBuiltInDefaults(ActiveConfig& config) {
    const std::int32_t macroMode2 = config.MACRO_MODE2;
    config = ActiveConfig{};
    config.K = {1, 2, 3, 5, 4, 18, 17};
    config.WHEEL_STATUS = 0;
    config.DPI_LEVEL = 0;
    const std::array<std::uint8_t, kDpiStageCount> stages{1, 2, 4, 0};
    for (int s = 0; s < kDpiStageCount; ++s) config.SetStageValue(s, stages[s]);
    config.AppliedStageValues = stages;
    config.DPI_SET_EN = {1, 1, 1, 1};
    config.LED_STATUS = 0;
    config.DPI_SPEED = 4;
    config.WHEEL_SPEED = 2;
    config.FIRE_TIME = 50;
    config.MACRO_MODE2 = macroMode2;
}
