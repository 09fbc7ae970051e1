#include "core/thread_flags.h"

#include <memory>


int ThreadFlags::DpiDirection(int button) const {
    if (button < 1 || button > kButtonCount) return 0;
    return dpiDirection_[static_cast<std::size_t>(button)].load();
}

void ThreadFlags::SetDpiDirection(int button, int direction) {
    if (button < 1 || button > kButtonCount) return;
    dpiDirection_[static_cast<std::size_t>(button)].store(direction);
}

PressOutcome ThreadFlags::OfferPress(std::uint8_t code, bool stopWhenBusy) {
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

void ThreadFlags::RequestStop() {
    {
        std::lock_guard<std::mutex> hold(handoffMutex_);
        stopRequest_.store(1);
        pressStop_.request_stop();
    }
    handoff_.notify_one();
}

std::stop_token ThreadFlags::PressStop() {
    std::lock_guard<std::mutex> hold(handoffMutex_);
    return pressStop_.get_token();
}

std::optional<std::uint8_t> ThreadFlags::TakePress(std::stop_token stop) {
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

void ThreadFlags::FinishPress() {
    std::lock_guard<std::mutex> hold(handoffMutex_);
    pendingInput_.store(0);
    stopRequest_.store(0);
}

void ThreadFlags::Activate() {
    DriverActive.store(true);
    BlinkStarted.store(false);
}

std::function<std::int32_t()> ConfigFieldReader(const ProgramState& program, std::int32_t ActiveConfig::*field) {
    auto last = std::make_shared<std::atomic<std::int32_t>>(0);
    {
        std::lock_guard<std::recursive_mutex> hold(program.configLock);
        last->store(program.config.*field);
    }
    return [&program, field, last] {
        std::unique_lock<std::recursive_mutex> lock(program.configLock, std::try_to_lock);
        if (lock.owns_lock()) last->store(program.config.*field);
        return last->load();
    };
}
