// The two animations of the main window, stepped by its timers on the window's own thread:
// BlinkIndicator blinks the number of the button that starts host actions on the main page while
// host actions wait for the mouse; LedPreview animates the LED preview on the colour page. Each
// step says how long until the next one, or nothing once the animation has ended.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

constexpr std::chrono::milliseconds kBlinkHalfPeriod{500};
constexpr std::chrono::milliseconds kPreviewStageShow{2000};
constexpr std::chrono::milliseconds kPreviewFastStep{800};   // LED value 1
constexpr std::chrono::milliseconds kPreviewSlowStep{1200};  // every other LED value

using AnimationDelay = std::optional<std::chrono::milliseconds>;

class BlinkIndicator {
public:
    // Starts (or restarts) with the number shown; runs only on the main page while host actions
    // wait for the mouse.
    AnimationDelay Start(bool onMainPage, bool waitingForMouse);
    // Half a period passed: the number shows or hides. Ends, with the number shown, once the main
    // page is left or host actions are on.
    AnimationDelay Step(bool onMainPage, bool waitingForMouse);

    bool Running() const { return running_; }
    bool Shown() const { return shown_; }

private:
    bool running_ = false;
    bool shown_ = true;
};

class LedPreview {
public:
    // Starts on the colour page over DPI stage dpiLevel with LED mode led: the first picture
    // shows at once.
    AnimationDelay Start(bool onColourPage, std::uint8_t led, std::int32_t dpiLevel);
    // The picture after the delay: modes 0 and 1 flash through the colours (a new stage shows
    // its colour for a while first), 2 shows the stage's colour lit and 3 unlit.
    AnimationDelay Step(bool onColourPage, std::uint8_t led, std::int32_t dpiLevel);

    bool Running() const { return running_; }
    bool Off() const { return off_; }
    int Colour() const { return colour_; }

private:
    AnimationDelay Show(std::uint8_t led, int level);

    bool running_ = false;
    bool off_ = false;
    int colour_ = 0;
    int lastLevel_ = 0;
    bool stageShown_ = false;  // the last step showed a new stage's colour
};
