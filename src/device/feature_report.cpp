#include "device/feature_report.h"

#include <algorithm>
#include <span>

std::uint8_t DpiLedByte(std::uint8_t stageValue, std::uint8_t led) {
    return static_cast<std::uint8_t>((stageValue + 8) * 16 + led);
}

std::uint8_t FireIntervalByte(std::int32_t fireTime) { return static_cast<std::uint8_t>(fireTime / 8); }

bool FeatureReportSender::Send(FeatureCommand command, std::uint8_t parameter1, std::uint8_t parameter2) {
    if (exited_.load()) return false;
    buffer_[0] = kFeatureReportId;
    buffer_[1] = static_cast<std::uint8_t>(command);
    buffer_[2] = parameter1;
    buffer_[3] = parameter2;
    const LinkHandle handle = link_.WriteHandle();
    if (!handle.IsOpen()) return false;
    const std::size_t length = std::min<std::size_t>(link_.FeatureReportLength(), buffer_.size());
    return handle.handle->SendFeatureReport(std::span<const std::uint8_t>(buffer_.data(), length));
}

bool FeatureReportSender::SendButtonMapping(std::uint8_t hardwareButtonId, std::uint8_t deviceFunction) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Send(FeatureCommand::ButtonMapping, hardwareButtonId, deviceFunction);
}

bool FeatureReportSender::SendWheelMode(std::uint8_t wheelStatus) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Send(FeatureCommand::WheelMode, wheelStatus, 0);
}

bool FeatureReportSender::SendDpiLed(std::uint8_t stage, std::uint8_t dpiLedByte) {
    std::lock_guard<std::mutex> hold(mutex_);
    return Send(FeatureCommand::DpiLed, stage, dpiLedByte);
}

bool FeatureReportSender::SendFireInterval(std::int32_t fireTime) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::fill(buffer_.begin() + 4, buffer_.begin() + 8, std::uint8_t{0});
    return Send(FeatureCommand::FireInterval, FireIntervalByte(fireTime), 0);
}

bool FeatureReportSender::SendExit() {
    std::lock_guard<std::mutex> hold(mutex_);
    const bool sent = Send(FeatureCommand::Exit, 0, 0);
    exited_.store(true);
    return sent;
}

bool FeatureReportSender::SendExitAfterCrash() noexcept {
    if (exited_.exchange(true)) return false;
    const std::optional<WriteEndpoint> writer = link_.TryWriter();
    if (!writer) return false;
    std::array<std::uint8_t, kReportBufferSize> report{};
    report[0] = kFeatureReportId;
    report[1] = static_cast<std::uint8_t>(FeatureCommand::Exit);
    const std::size_t length = std::min(writer->length, report.size());
    return writer->handle->SendFeatureReport(std::span<const std::uint8_t>(report.data(), length));
}
