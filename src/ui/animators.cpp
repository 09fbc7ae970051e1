#include "ui/animators.h"

#include <algorithm>

#include "core/led_mode.h"

namespace {
constexpr int kColours = 4;

// The stage picks one of the four colour pictures, so it is bounded like a table index.
int BoundedLevel(std::int32_t dpiLevel) { return std::clamp<std::int32_t>(dpiLevel, 0, kColours - 1); }

std::chrono::milliseconds StepOf(std::uint8_t led) { return led == kLedFast ? kPreviewFastStep : kPreviewSlowStep; }
}  // namespace

AnimationDelay BlinkIndicator::Start(bool onMainPage, bool waitingForMouse) {
    running_ = true;
    shown_ = true;
    if (!onMainPage || !waitingForMouse) running_ = false;
    return running_ ? AnimationDelay(kBlinkHalfPeriod) : std::nullopt;
}

AnimationDelay BlinkIndicator::Step(bool onMainPage, bool waitingForMouse) {
    if (!running_ || !onMainPage || !waitingForMouse) {
        running_ = false;
        shown_ = true;
        return std::nullopt;
    }
    shown_ = !shown_;
    return kBlinkHalfPeriod;
}

AnimationDelay LedPreview::Start(bool onColourPage, std::uint8_t led, std::int32_t dpiLevel) {
    running_ = onColourPage;
    stageShown_ = false;
    lastLevel_ = BoundedLevel(dpiLevel);
    colour_ = lastLevel_;
    if (!running_) return std::nullopt;
    return Show(led, lastLevel_);
}

AnimationDelay LedPreview::Step(bool onColourPage, std::uint8_t led, std::int32_t dpiLevel) {
    if (!running_ || !onColourPage) {
        running_ = false;
        return std::nullopt;
    }
    if (stageShown_) {
        // The new stage's colour stays one step longer.
        stageShown_ = false;
        return StepOf(led);
    }
    return Show(led, BoundedLevel(dpiLevel));
}

AnimationDelay LedPreview::Show(std::uint8_t led, int level) {
    if (led == kLedOff) {
        off_ = true;
        colour_ = level;
    } else if (led == kLedSteady) {
        off_ = false;
        colour_ = level;
    } else if (level != lastLevel_) {
        colour_ = level;
        off_ = false;
        lastLevel_ = level;
        stageShown_ = true;
        return kPreviewStageShow;
    } else if (off_) {
        off_ = false;
    } else {
        off_ = true;
        colour_ = (std::clamp(colour_, 0, kColours - 1) + 1) % kColours;
    }
    return StepOf(led);
}
