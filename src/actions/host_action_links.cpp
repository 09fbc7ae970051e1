#include "actions/host_action_links.h"

#include <algorithm>
#include <mutex>


void ProgramHostActionLinks::SendDpiLed(int dpiLevel, int led) {
    std::lock_guard<std::recursive_mutex> hold(program_.configLock);
    const int stage = std::clamp(dpiLevel, 0, kDpiStageCount - 1);
    const std::uint8_t value = program_.config.AppliedStageValues[static_cast<std::size_t>(stage)];
    reports_.SendDpiLed(static_cast<std::uint8_t>(stage), DpiLedByte(value, static_cast<std::uint8_t>(led)));
}
