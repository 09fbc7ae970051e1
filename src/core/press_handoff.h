// The hand-off of a press from the input listener to the host action executor: the listener
// offers a press, the executor blocks until there is one instead of polling, performs it and
// frees the hand-off for the next. While a press is performed, a later one stops it or is
// dropped. The gate in front of it: after an apply that gives a button to the host, presses
// count only once the mouse confirmed the new configuration.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>

// How often the mouse threads woke up; an idle program should not wake them at all.
struct WakeCounters {
    std::atomic<std::uint64_t> listener{0};
    std::atomic<std::uint64_t> executor{0};
};

// What the listener's press came to.
enum class PressOutcome { Posted, StopRequested, Dropped };

class PressHandoff {
public:
    // Host actions are carried out; when clear, only the mouse's confirmation counts.
    bool HostActionsOn() const { return hostActionsOn_.load(); }
    // The apply: host actions on, or on hold until the mouse confirms.
    void SetHostActionsOn(bool on) { hostActionsOn_.store(on); }

    // PendingInput is 1 while a press waits for or is being performed by the executor;
    // PendingCode is its input code; StopRequest asks a playing macro to stop.
    int PendingInput() const { return pendingInput_.load(); }
    std::uint8_t PendingCode() const { return pendingCode_.load(); }
    int StopRequest() const { return stopRequest_.load(); }

    // Listener: a press. Idle: PendingCode := code, then PendingInput := 1, and the executor
    // wakes. Busy: StopRequest := 1 if stopWhenBusy, else the press is dropped.
    PressOutcome OfferPress(std::uint8_t code, bool stopWhenBusy);
    // Listener: StopRequest := 1.
    void RequestStop();
    // Executor: the stop of the press it took last, requested with StopRequest, so a macro's
    // pause ends at once instead of at its end.
    std::stop_token PressStop();
    // Executor: blocks until a press is pending and returns its code; nothing when stop is
    // requested. A StopRequest that arrives with no press pending is cleared, as the executor's
    // end-of-round clearing always did.
    std::optional<std::uint8_t> TakePress(std::stop_token stop);
    // Executor, after performing the press: clears PendingInput and StopRequest.
    void FinishPress();

    WakeCounters wakeups;

private:
    std::atomic<bool> hostActionsOn_{true};
    std::atomic<int> pendingInput_{0};
    std::atomic<std::uint8_t> pendingCode_{0};
    std::atomic<int> stopRequest_{0};
    std::stop_source pressStop_;  // replaced for each press taken
    std::mutex handoffMutex_;
    std::condition_variable_any handoff_;
};
