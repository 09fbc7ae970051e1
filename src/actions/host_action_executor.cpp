#include "actions/host_action_executor.h"

#include "device/button_mapping.h"

int PerformPress(std::uint8_t code, const std::function<void(int)>& performButton) {
    const std::optional<int> button = ButtonOfPressCode(code);
    if (!button) return 0;
    if (performButton) performButton(*button);
    return *button;
}

void HostActionExecutor::Start() {
    if (thread_.joinable()) return;
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void HostActionExecutor::Stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
}

void HostActionExecutor::Run(std::stop_token stop) {
    if (context_.onThreadStart) context_.onThreadStart();
    // Ending the thread also stops the press being performed, so a macro's pause cannot hold
    // up the program's end.
    const std::stop_callback stopPress(stop, [this] { context_.flags.RequestStop(); });
    while (const std::optional<std::uint8_t> code = context_.flags.TakePress(stop)) {
        PerformPress(*code, context_.performButton);
        context_.flags.FinishPress();
    }
}
