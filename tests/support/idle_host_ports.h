// Ports for host-action code under test that must not matter: a profile that holds nothing and
// links that never stop, step or apply. Shared by the playback benchmark and the Win32 tests.
#pragma once

#include "actions/host_actions.h"
#include "platform/profile_port.h"

struct NoProfile : ProfilePort {
    std::u16string ReadString(const std::u16string&, const std::u16string&, const std::u16string&, std::size_t) override {
        return {};
    }
    bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&, const std::u16string&) override {
        return true;
    }
};

struct IdleLinks : HostActionLinks {
    bool StopRequested() override { return false; }
    int DpiDirection(int) override { return 0; }
    int LedToggle() override { return 0; }
    void SetLedToggle(int) override {}
    int AppliedLed() override { return 0; }
    void SendDpiLed(int, int) override {}
    void ApplyConfiguration() override {}
    void InvalidateMainWindow() override {}
};
