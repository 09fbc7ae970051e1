// The variables the worker threads share (input listener, host action executor, the window), all
// atomic, and the hand-off between them: a press goes from the listener to the executor through
// PendingCode/PendingInput, and the executor blocks until there is something to do instead of
// polling. DevicePresent lives in
// DeviceLink (device/discovery.h).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>

#include "core/program_state.h"
#include "core/window_page.h"

// How often the mouse threads woke up; an idle program should not wake them at all.
struct WakeCounters {
    std::atomic<std::uint64_t> listener{0};
    std::atomic<std::uint64_t> executor{0};
};

// What the listener's press came to.
enum class PressOutcome { Posted, StopRequested, Dropped };

class ThreadFlags {
public:
    std::atomic<bool> DriverActive{true};    // host actions are carried out; clear: waiting for the mouse
    std::atomic<int> StartKeyIndex{0};       // button 1..7 that starts host actions
    std::atomic<bool> BlinkStarted{false};   // the start key was set blinking for the current wait
    std::atomic<WindowPage> CurrentPage{WindowPage::Main};
    std::atomic<std::uint8_t> LedToggle{0};    // 3 when the LED function switched the LED off
    std::atomic<std::uint8_t> AppliedLed{0};   // LED_STATUS as last applied

    // DpiDirection[1..7]: 2 cycle, 1 up, -1 down, 0 none. Other button numbers read 0 and are
    // not written.
    int DpiDirection(int button) const;
    void SetDpiDirection(int button, int direction);

    // The press hand-off. PendingInput is 1 while a press waits for or is being performed by the
    // executor; PendingCode is its input code; StopRequest asks a playing macro to stop.
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

    // Listener, on the activation report: DriverActive set, BlinkStarted clear.
    void Activate();

    WakeCounters wakeups;

private:
    std::array<std::atomic<int>, kButtonCount + 1> dpiDirection_{};
    std::atomic<int> pendingInput_{0};
    std::atomic<std::uint8_t> pendingCode_{0};
    std::atomic<int> stopRequest_{0};
    std::stop_source pressStop_;  // replaced for each press taken
    std::mutex handoffMutex_;
    std::condition_variable_any handoff_;
};

// A field of ActiveConfig as a worker thread reads it: under the configuration lock when the lock is free,
// otherwise (a load or apply is running) the value read last, so the thread never waits for an
// apply. For MACRO_MODE2 in the listener and DPI_LEVEL in the LED preview.
std::function<std::int32_t()> ConfigFieldReader(const ProgramState& program, std::int32_t ActiveConfig::*field);
