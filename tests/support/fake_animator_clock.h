// Fake time for the animators: records each sleep with what the flags showed when it began,
// then lets the test change flags after sleep n. A sleep returns false ("woken") when the script
// says so.
#pragma once

#include <chrono>
#include <functional>
#include <stop_token>
#include <vector>

#include "core/thread_flags.h"
#include "ui/animators.h"

class FakeAnimatorClock : public AnimatorClock {
public:
    struct Sleep {
        std::chrono::milliseconds duration;
        bool phase;
        bool off;
        int colour;
    };
    explicit FakeAnimatorClock(ThreadFlags& flags) : flags_(flags) {}

    std::function<bool(int)> afterSleep;  // sleep number from 1; returns false to wake early
    std::vector<Sleep> sleeps;
    int limit = 100;  // a runaway animator ends the test

    bool SleepFor(std::chrono::milliseconds duration, std::stop_token) override {
        sleeps.push_back({duration, flags_.BlinkPhase, flags_.PreviewOff, flags_.PreviewColour});
        if (static_cast<int>(sleeps.size()) >= limit) flags_.CurrentPage = WindowPage::Advanced;
        return afterSleep ? afterSleep(static_cast<int>(sleeps.size())) : true;
    }
    std::chrono::milliseconds Total() const {
        std::chrono::milliseconds total{0};
        for (const Sleep& s : sleeps) total += s.duration;
        return total;
    }

private:
    ThreadFlags& flags_;
};
