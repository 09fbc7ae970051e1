// Recording stand-ins for the ports of the host actions, shared by their tests.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "actions/host_actions.h"
#include "macros/memory_profile.h"

// Everything the actions do, in order, as one readable log.
struct Log {
    std::vector<std::string> lines;
    void Add(const char* format, unsigned a = 0, unsigned b = 0, unsigned c = 0) {
        char text[64];
        std::snprintf(text, sizeof text, format, a, b, c);
        lines.emplace_back(text);
    }
};

// Scan codes of a made-up layout; PageUp's has a high byte that must be dropped.
struct RecordingInjector : InputInjectorPort {
    explicit RecordingInjector(Log& l) : log(l) {}
    void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
        ++events;
        log.Add("key %02x %02x %x", vk, scan, flags);
    }
    void MouseButton(MouseButtonEvent event) override {
        ++events;
        log.Add("mouse %02x", static_cast<unsigned>(event));
    }
    std::uint32_t ScanCodeOf(std::uint8_t vk) override {
        switch (vk) {
            case 'C': return 0x2E;
            case 'V': return 0x2F;
            case 'A': return 0x1E;
            case 'Z': return 0x2C;
            case 0x73: return 0x3E;
            case 0x21: return 0xE049;
            default: return vk / 2;
        }
    }
    Log& log;
    long events = 0;
};

struct RecordingShell : ShellPort {
    explicit RecordingShell(Log& l) : log(l) {}
    void OpenFolder(const std::u16string& item) override {
        log.lines.push_back(item == kComputerFolder ? "open computer folder" : "open other folder");
    }
    void LockWorkstation() override { log.lines.push_back("lock"); }
    void StartSystemProgram(const std::u16string& exe) override {
        log.lines.push_back("start " + std::string(exe.begin(), exe.end()));
    }
    Log& log;
};

struct FakeClock : ClockPort {
    explicit FakeClock(Log& l) : log(l) {}
    void SleepMs(std::uint32_t ms) override {
        ++sleeps;
        if (logSleeps) log.Add("sleep %u", ms);
        if (onSleep) onSleep(sleeps);
    }
    void BeginPrecise() override { log.lines.push_back("precise on"); }
    void EndPrecise() override { log.lines.push_back("precise off"); }
    Log& log;
    long sleeps = 0;
    bool logSleeps = true;
    std::function<void(long)> onSleep;
};

struct FakeLinks : HostActionLinks {
    explicit FakeLinks(Log& l, ProgramState& s) : log(l), state(s) {}
    bool StopRequested() override { return stop; }
    int DpiDirection(int button) override { return direction[button]; }
    int LedToggle() override { return ledToggle; }
    void SetLedToggle(int value) override { ledToggle = value; }
    int AppliedLed() override { return appliedLed; }
    void SendDpiLed(int level, int led) override { log.Add("dpi %u led %u", level, led); }
    void ApplyConfiguration() override { log.Add("apply slot %u K1 %u", state.CurConfig, state.config.K[0]); }
    void InvalidateMainWindow() override { log.lines.push_back("invalidate"); }
    Log& log;
    ProgramState& state;
    bool stop = false;
    int direction[8] = {};
    int ledToggle = 0;
    int appliedLed = 0;
};

inline MacroRecord Macro(std::initializer_list<MacroEvent> events, std::uint8_t repeatMode = 0, std::uint16_t repeatCount = 1) {
    MacroRecord m = NewMacro(u"m");
    m.repeatMode = repeatMode;
    m.repeatCount = repeatCount;
    for (const MacroEvent& e : events) m.events[m.eventCount++] = e;
    return m;
}
