// The two animators of the main window: BlinkIndicator blinks the number of the button that
// starts host actions on the main page, LedPreviewAnimator animates the LED preview on the colour
// page. Each runs on its own thread while its page is shown and only asks the window to repaint.
#pragma once

#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

#include "core/thread_flags.h"

constexpr int kBlinkTogglesPerCheck = 6;
constexpr std::chrono::milliseconds kBlinkHalfPeriod{500};
constexpr std::chrono::milliseconds kPreviewStageShow{2000};
constexpr std::chrono::milliseconds kPreviewFastStep{800};   // LED value 1
constexpr std::chrono::milliseconds kPreviewSlowStep{1200};  // every other LED value

// Time as the animators see it.
class AnimatorClock {
public:
    virtual ~AnimatorClock() = default;
    // Sleeps for duration; false when woken early (a watched flag changed) or stop was requested,
    // after which the animator looks at its flags again.
    virtual bool SleepFor(std::chrono::milliseconds duration, std::stop_token stop) = 0;
};

// Real time, woken early by the flags' animator bell.
class BellClock : public AnimatorClock {
public:
    explicit BellClock(Doorbell& bell) : bell_(bell) {}
    bool SleepFor(std::chrono::milliseconds duration, std::stop_token stop) override {
        return bell_.SleepFor(duration, stop);
    }

private:
    Doorbell& bell_;
};

struct AnimatorContext {
    ThreadFlags& flags;
    AnimatorClock& clock;
    std::function<void()> invalidate;  // repaint the whole main window
};

// While the main page is shown and host actions wait for the mouse: invert BlinkPhase every
// half second, looking at the page and DriverActive every six inversions (or when woken). Ends
// with BlinkPhase set and BlinkRunning clear.
void RunBlinkIndicator(AnimatorContext& context, std::stop_token stop);

// While the colour page is shown: the preview of the LED mode AppliedLed over the DPI stage
// dpiLevel() (bounded to the four stages). Ends with PreviewRunning clear.
void RunLedPreview(AnimatorContext& context, const std::function<std::int32_t()>& dpiLevel, std::stop_token stop);

// One animator thread at a time: starting a new one ends the one before, so two indicators never
// invert the same BlinkPhase (which would stop the blinking).
class AnimatorThread {
public:
    AnimatorThread() = default;
    ~AnimatorThread() { Stop(); }
    AnimatorThread(const AnimatorThread&) = delete;
    AnimatorThread& operator=(const AnimatorThread&) = delete;

    void Start(std::function<void(std::stop_token)> body);
    void Stop();

private:
    std::jthread thread_;
};
