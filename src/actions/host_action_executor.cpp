#include "actions/host_action_executor.h"

#include <utility>

#include "device/button_mapping.h"

int PerformPress(std::uint8_t code, const std::function<void(int)>& performButton) {
    const std::optional<int> button = ButtonOfPressCode(code);
    if (!button) return 0;
    if (performButton) performButton(*button);
    return *button;
}

HostActionExecutor::HostActionExecutor(HostActionExecutorContext context)
    : context_(std::move(context)), thread_([this](std::stop_token stop) { Run(stop); }) {}

void HostActionExecutor::Run(std::stop_token stop) {
    if (context_.onThreadStart) context_.onThreadStart();
    // Ending the thread also stops the press being performed, so a macro's pause cannot hold
    // up the program's end.
    const std::stop_callback stopPress(stop, [this] { context_.handoff.RequestStop(); });
    while (const std::optional<std::uint8_t> code = context_.handoff.TakePress(stop)) {
        PerformPress(*code, context_.performButton);
        context_.handoff.FinishPress();
    }
}
