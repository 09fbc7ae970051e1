// The feature report commands to the mouse: one 256-byte buffer of report ID 7, written and sent
// by one sender at a time (the window's thread and the host action thread both send). The exit
// command hands the mouse back to its own functions: nothing is sent after it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/discovery.h"

constexpr std::uint8_t kFeatureReportId = 0x07;

enum class FeatureCommand : std::uint8_t {
    DpiLed = 0x09,
    ButtonMapping = 0x10,
    WheelMode = 0x11,
    FireInterval = 0x12,
    Exit = 0x20,
};

// Byte 3 of the DPI/LED command in 8-bit arithmetic: (stage value + 8) * 16 + LED value. With
// stage values 0..4 and LED values 0..3 (3 = off) the high nibble is 8 + value, the low the LED.
std::uint8_t DpiLedByte(std::uint8_t stageValue, std::uint8_t led);
// Byte 2 of the fire interval command: FIRE_TIME / 8, truncated toward zero, low byte.
std::uint8_t FireIntervalByte(std::int32_t fireTime);

class FeatureReportSender {
public:
    explicit FeatureReportSender(DeviceLink& link) : link_(link) {}

    // Each command writes its bytes into the buffer and sends the buffer's first
    // FeatureReportLength bytes on WriteHandle. True when the mouse took the report; false when
    // the handle is not open or the send failed.
    bool SendButtonMapping(std::uint8_t hardwareButtonId, std::uint8_t deviceFunction);
    bool SendWheelMode(std::uint8_t wheelStatus);
    bool SendDpiLed(std::uint8_t stage, std::uint8_t dpiLedByte);
    bool SendFireInterval(std::int32_t fireTime);
    bool SendExit();
    // The exit command from a crashing program: neither the sender's lock nor its buffer (the
    // crashed thread may hold the one and have half written the other), and the link's lock
    // only if it comes free at once. Nothing when the exit went out already.
    bool SendExitAfterCrash() noexcept;

private:
    bool Send(FeatureCommand command, std::uint8_t parameter1, std::uint8_t parameter2);  // with mutex_ held

    DeviceLink& link_;
    std::mutex mutex_;
    std::array<std::uint8_t, kReportBufferSize> buffer_{};
    std::atomic<bool> exited_{false};
};
