// The input listener: reads the mouse's input reports (report ID 6, byte 1 the event code),
// hands presses of host-mode buttons to the host action executor, turns repeated presses or
// releases into a stop request for a playing macro, and switches host actions on when the mouse
// confirms a new configuration. Only this thread reads from the mouse.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>

#include "config/published_config.h"
#include "core/press_handoff.h"
#include "core/worker_thread.h"
#include "device/discovery.h"

constexpr std::uint8_t kInputReportId = 0x06;

enum class InputEvent {
    Ignored,
    PressPosted,     // PendingCode/PendingInput set, the executor woken
    StopRequested,   // StopRequest set
    PressDropped,    // a press while another is pending, with MACRO_MODE2 set
    Activated,       // host actions switched on; the window should repaint
};

// The decision for one input report (only the bytes actually read). While host actions are on,
// byte 1 above 0xF0 is a press and 0 a release (whatever the report ID); while they are on hold,
// only the activation report 06 00 counts.
InputEvent HandleInputReport(std::span<const std::uint8_t> report, std::int32_t macroMode2, PressHandoff& handoff);

struct InputListenerContext {
    DeviceLink& link;
    PressHandoff& handoff;
    const PublishedConfig& config;  // MACRO_MODE2
    std::function<void()> invalidate;          // repaint the whole main window
    std::function<void()> onThreadStart;       // runs first on the new thread (its priority)
    // After a failed read, how long to wait for a rediscovery before trying the handle again.
    std::chrono::milliseconds retryAfter{1000};
};

// The listener's thread. Blocks in the read; without a usable read handle it waits for a
// discovery to install one. Stop (or destruction) ends it at once.
class InputListener {
public:
    explicit InputListener(InputListenerContext context);

    void Start() { thread_.Start(); }
    void Stop() { thread_.Stop(); }

private:
    void Run(std::stop_token stop);

    InputListenerContext context_;
    WorkerThread thread_;  // last: it stops before the context goes
};
