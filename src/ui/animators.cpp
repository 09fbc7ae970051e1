#include "ui/animators.h"

#include <algorithm>

#include "core/led_mode.h"

namespace {
constexpr int kColours = 4;

void Invalidate(AnimatorContext& context) {
    if (context.invalidate) context.invalidate();
}

void Invert(std::atomic<bool>& flag) {
    bool value = flag.load();
    while (!flag.compare_exchange_weak(value, !value)) {
    }
}
}  // namespace

void RunBlinkIndicator(AnimatorContext& context, std::stop_token stop) {
    ThreadFlags& flags = context.flags;
    while (flags.CurrentPage.load() == WindowPage::Main && !stop.stop_requested()) {
        if (flags.DriverActive.load()) break;
        for (int toggle = 0; toggle < kBlinkTogglesPerCheck; ++toggle) {
            Invert(flags.BlinkPhase);
            Invalidate(context);
            if (!context.clock.SleepFor(kBlinkHalfPeriod, stop)) break;
        }
    }
    flags.BlinkPhase.store(true);
    flags.BlinkRunning.store(false);
}

void RunLedPreview(AnimatorContext& context, const std::function<std::int32_t()>& dpiLevel, std::stop_token stop) {
    ThreadFlags& flags = context.flags;
    // The level picks one of the four colour pictures, so it is bounded like a table index.
    const auto level = [&] { return std::clamp<std::int32_t>(dpiLevel ? dpiLevel() : 0, 0, kColours - 1); };
    const auto onPage = [&] { return flags.CurrentPage.load() == WindowPage::Colour && !stop.stop_requested(); };
    int lastLevel = level();
    flags.PreviewColour.store(lastLevel);
    while (onPage()) {
        const std::uint8_t led = flags.AppliedLed.load();
        if (led == kLedOff) {
            flags.PreviewOff.store(true);
            flags.PreviewColour.store(level());
        } else if (led == kLedSteady) {
            flags.PreviewOff.store(false);
            flags.PreviewColour.store(level());
        } else if (const int now = level(); now != lastLevel) {
            // A new stage shows its colour for a while first.
            flags.PreviewColour.store(now);
            flags.PreviewOff.store(false);
            lastLevel = now;
            Invalidate(context);
            if (!context.clock.SleepFor(kPreviewStageShow, stop) && !onPage()) break;
        } else if (flags.PreviewOff.load()) {
            flags.PreviewOff.store(false);
        } else {
            flags.PreviewOff.store(true);
            flags.PreviewColour.store((std::clamp(flags.PreviewColour.load(), 0, kColours - 1) + 1) % kColours);
        }
        Invalidate(context);
        context.clock.SleepFor(flags.AppliedLed.load() == kLedFast ? kPreviewFastStep : kPreviewSlowStep, stop);
    }
    flags.PreviewRunning.store(false);
}

void AnimatorThread::Start(std::function<void(std::stop_token)> body) {
    Stop();
    thread_ = std::jthread(std::move(body));
}

void AnimatorThread::Stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
}
