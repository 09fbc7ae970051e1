#include "device/input_listener.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
constexpr std::uint8_t kReleaseCode = 0x00;
constexpr std::uint8_t kLastNonPressCode = 0xF0;
}  // namespace

InputEvent HandleInputReport(std::span<const std::uint8_t> report, std::int32_t macroMode2, PressHandoff& handoff) {
    // Bytes beyond the read would be left over from an earlier report.
    if (report.size() < 2) return InputEvent::Ignored;
    const std::uint8_t reportId = report[0];
    const std::uint8_t code = report[1];
    if (handoff.HostActionsOn()) {
        if (code > kLastNonPressCode) {
            switch (handoff.OfferPress(code, macroMode2 == 0)) {
                case PressOutcome::Posted: return InputEvent::PressPosted;
                case PressOutcome::StopRequested: return InputEvent::StopRequested;
                case PressOutcome::Dropped: return InputEvent::PressDropped;
            }
        }
        if (code == kReleaseCode && macroMode2 == 1) {
            handoff.RequestStop();
            return InputEvent::StopRequested;
        }
        return InputEvent::Ignored;
    }
    if (reportId == kInputReportId && code == kReleaseCode) {
        handoff.SetHostActionsOn(true);
        return InputEvent::Activated;
    }
    return InputEvent::Ignored;
}

InputListener::InputListener(InputListenerContext context)
    : context_(std::move(context)), thread_([this](std::stop_token stop) { Run(stop); }) {}

void InputListener::Run(std::stop_token stop) {
    if (context_.onThreadStart) context_.onThreadStart();
    std::array<std::uint8_t, kReportBufferSize> buffer{};
    std::optional<std::uint64_t> failedGeneration;
    while (!stop.stop_requested()) {
        const std::optional<ReadEndpoint> reader =
            context_.link.WaitForReader(stop, failedGeneration, context_.retryAfter);
        if (!reader) break;
        const std::size_t length = std::min(reader->length, buffer.size());
        const std::optional<std::size_t> got =
            reader->handle->ReadInputReport(std::span<std::uint8_t>(buffer.data(), length), stop);
        context_.handoff.wakeups.listener.fetch_add(1, std::memory_order_relaxed);
        if (!got) {
            // Reading again at once would spin on a mouse that is gone: wait for a discovery.
            failedGeneration = reader->generation;
            continue;
        }
        failedGeneration.reset();
        const std::size_t read = std::min(*got, length);
        const std::int32_t macroMode2 = context_.config.Read()->config.MACRO_MODE2;
        const InputEvent event =
            HandleInputReport(std::span<const std::uint8_t>(buffer.data(), read), macroMode2, context_.handoff);
        if (event == InputEvent::Activated && context_.invalidate) context_.invalidate();
    }
}
