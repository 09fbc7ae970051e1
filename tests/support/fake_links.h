// The host actions' links to the rest of the program, set by the test: the playback's stop, DPI
// directions and the LED toggle are plain fields; sends, applies and repaints are logged when a
// log is given ("dpi 2 led 3", "apply slot 3 K1 13", "invalidate", with ", save failed" once a
// save of config.ini failed), and otherwise do nothing.
#pragma once

#include <stop_token>

#include "actions/host_actions.h"
#include "core/program_state.h"
#include "support/event_log.h"

struct FakeLinks : HostActionLinks {
    FakeLinks() = default;
    FakeLinks(EventLog& eventLog, const ProgramState& program) : log(&eventLog), state(&program) {}

    std::stop_token PlaybackStop() override { return stop.get_token(); }
    int DpiDirection(int button) override { return button >= 0 && button < 8 ? direction[button] : 0; }
    int LedToggle() override { return ledToggle; }
    void SetLedToggle(int value) override { ledToggle = value; }
    int AppliedLed() override { return appliedLed; }
    void SendDpiLed(int level, int led) override {
        if (log) log->Addf("dpi %u led %u", static_cast<unsigned>(level), static_cast<unsigned>(led));
    }
    void ApplyConfiguration() override {
        if (log && state) {
            log->Addf("apply slot %u K1 %u", static_cast<unsigned>(state->CurConfig),
                      static_cast<unsigned>(state->config.K[0]));
        }
    }
    void InvalidateMainWindow() override {
        if (log) log->Add(state && state->configSaveFailed.load() ? "invalidate, save failed" : "invalidate");
    }

    EventLog* log = nullptr;
    const ProgramState* state = nullptr;
    std::stop_source stop;
    int direction[8] = {};
    int ledToggle = 0;
    int appliedLed = 0;
};
