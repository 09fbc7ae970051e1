// The host action executor's thread: waits for a press that the input listener hands over, finds
// the configuration button it belongs to and has it performed, then frees the hand-off for the
// next press. One press at a time; while one is performed, later presses only stop it or are
// dropped (the listener decides).
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

#include "core/press_handoff.h"
#include "core/worker_thread.h"

struct HostActionExecutorContext {
    PressHandoff& handoff;
    std::function<void(int button)> performButton;  // performs the function of button 1..7
    std::function<void()> onThreadStart;            // runs first on the new thread (its priority)
};

// Performs the one pending press, if any matches a button: the button i with
// 0xF0 + HardwareButtonId(i) == code. Returns the button performed, or 0.
int PerformPress(std::uint8_t code, const std::function<void(int)>& performButton);

class HostActionExecutor {
public:
    explicit HostActionExecutor(HostActionExecutorContext context);

    void Start() { thread_.Start(); }
    // Stops the press being performed (if any) and ends the thread once it returns.
    void Stop() { thread_.Stop(); }

private:
    void Run(std::stop_token stop);

    HostActionExecutorContext context_;
    WorkerThread thread_;  // last: it stops before the context goes
};
