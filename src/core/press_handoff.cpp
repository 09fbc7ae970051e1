#include "core/press_handoff.h"

PressOutcome PressHandoff::OfferPress(std::uint8_t code, bool stopWhenBusy) {
    PressOutcome outcome;
    {
        std::lock_guard<std::mutex> hold(handoffMutex_);
        if (pendingInput_.load() == 0) {
            pendingCode_.store(code);  // before PendingInput: the executor reads it after seeing that
            pendingInput_.store(1);
            outcome = PressOutcome::Posted;
        } else if (stopWhenBusy) {
            stopRequest_.store(1);
            pressStop_.request_stop();
            outcome = PressOutcome::StopRequested;
        } else {
            return PressOutcome::Dropped;
        }
    }
    handoff_.notify_one();
    return outcome;
}

void PressHandoff::RequestStop() {
    {
        std::lock_guard<std::mutex> hold(handoffMutex_);
        stopRequest_.store(1);
        pressStop_.request_stop();
    }
    handoff_.notify_one();
}

std::stop_token PressHandoff::PressStop() {
    std::lock_guard<std::mutex> hold(handoffMutex_);
    return pressStop_.get_token();
}

std::optional<std::uint8_t> PressHandoff::TakePress(std::stop_token stop) {
    std::unique_lock<std::mutex> lock(handoffMutex_);
    for (;;) {
        bool first = true;
        const bool ready = handoff_.wait(lock, stop, [&] {
            if (!first) wakeups.executor.fetch_add(1, std::memory_order_relaxed);
            first = false;
            return pendingInput_.load() != 0 || stopRequest_.load() != 0;
        });
        if (!ready) return std::nullopt;
        if (pendingInput_.load() != 0) {
            // A stop that came after the press was posted still concerns it.
            pressStop_ = std::stop_source();
            if (stopRequest_.load() != 0) pressStop_.request_stop();
            return pendingCode_.load();
        }
        stopRequest_.store(0);  // nothing is playing: the request concerns nothing
    }
}

void PressHandoff::FinishPress() {
    std::lock_guard<std::mutex> hold(handoffMutex_);
    pendingInput_.store(0);
    stopRequest_.store(0);
}
