// HostActionLinks over the program's own parts: the shared thread flags, the feature report
// sender and ApplyConfiguration. The executor's hook is then
//     performButton = [&actions](int button) { actions.PerformButton(button); }.
#pragma once

#include <functional>

#include "actions/host_actions.h"
#include "core/thread_flags.h"
#include "device/apply_configuration.h"
#include "device/feature_report.h"

class ProgramHostActionLinks : public HostActionLinks {
public:
    // apply: the context the configuration switch applies with (its invalidate may be the same
    // function as invalidate here).
    ProgramHostActionLinks(ThreadFlags& flags, ProgramState& program, FeatureReportSender& reports, ApplyContext& apply,
                           std::function<void()> invalidate)
        : flags_(flags), program_(program), reports_(reports), apply_(apply), invalidate_(std::move(invalidate)) {}

    std::stop_token PlaybackStop() override { return flags_.PressStop(); }
    int DpiDirection(int button) override { return flags_.DpiDirection(button); }
    int LedToggle() override { return flags_.LedToggle.load(); }
    void SetLedToggle(int value) override { flags_.LedToggle.store(static_cast<std::uint8_t>(value)); }
    int AppliedLed() override { return flags_.AppliedLed.load(); }
    // Byte 2 the stage, byte 3 the applied value of that stage with the LED value.
    void SendDpiLed(int dpiLevel, int led) override;
    void ApplyConfiguration() override { ::ApplyConfiguration(apply_); }
    void InvalidateMainWindow() override {
        if (invalidate_) invalidate_();
    }

private:
    ThreadFlags& flags_;
    ProgramState& program_;
    FeatureReportSender& reports_;
    ApplyContext& apply_;
    std::function<void()> invalidate_;
};
