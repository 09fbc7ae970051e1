// An input injector that records each event as a log line ("key 41 1e 0", "mouse 02") and, given
// a clock, the moment it went out. Scan codes come from a made-up layout in which PageUp's has a
// high byte that must be dropped.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/input_injector_port.h"
#include "support/event_log.h"

struct RecordingInjector : InputInjectorPort {
    RecordingInjector() = default;
    explicit RecordingInjector(EventLog& eventLog) : log(&eventLog) {}
    // Only stamps the events, in milliseconds of now: nothing else may slow a timing check.
    explicit RecordingInjector(double (*now)()) : nowMs(now) {}

    void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
        if (nowMs) stamps.push_back(nowMs());
        ++events;
        if (log) log->Addf("key %02x %02x %x", vk, scan, flags);
    }
    void MouseButton(MouseButtonEvent event) override {
        if (nowMs) stamps.push_back(nowMs());
        ++events;
        if (log) log->Addf("mouse %02x", static_cast<unsigned>(event));
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

    EventLog* log = nullptr;
    double (*nowMs)() = nullptr;
    std::vector<double> stamps;
    long events = 0;
};
