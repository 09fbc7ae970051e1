// What a mouse button asks of the window's thread, which owns the configuration: a DPI step, the
// LED toggle, the next configuration. The executor posts the request and goes on; the window
// carries requests out in the order they came.
#pragma once

#include <cstdint>

enum class HostRequestKind : std::uint8_t { StepDpi, ToggleLed, NextConfiguration };

struct HostRequest {
    HostRequestKind kind = HostRequestKind::StepDpi;
    int direction = 0;  // StepDpi: 2 cycle, 1 up, -1 down
};

class HostRequestPort {
public:
    virtual ~HostRequestPort() = default;
    // Never waits for the window.
    virtual void Post(HostRequest request) = 0;
};
