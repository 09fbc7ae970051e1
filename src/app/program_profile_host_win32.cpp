#include "app/program_profile_host_win32.h"

namespace {
// How long a switch waits for a press in progress to end before it looks again.
constexpr std::chrono::milliseconds kPressWait{50};
}  // namespace

void ProgramProfileHost::Start(HWND window, UINT_PTR timerId) {
    window_ = window;
    timerId_ = timerId;
    watch_.emplace([this](HWND front) { OnForeground(front); });
    // A bound program may be in front already (the program started in the middle of a game).
    if (const HWND front = GetForegroundWindow()) OnForeground(front);
}

void ProgramProfileHost::OnForeground(HWND front) {
    profiles_.ForegroundChanged(DescribeWindow(front), ProgramProfiles::Clock::now());
    if (const auto at = profiles_.SettlesAt()) {
        Arm(std::chrono::ceil<std::chrono::milliseconds>(*at - ProgramProfiles::Clock::now()));
    }
}

void ProgramProfileHost::Arm(std::chrono::milliseconds delay) {
    // Setting the same timer again restarts it: the switch waits for the last change.
    SetTimer(window_, timerId_, static_cast<UINT>(std::max<std::int64_t>(delay.count(), USER_TIMER_MINIMUM)), nullptr);
}

void ProgramProfileHost::OnTimer() {
    KillTimer(window_, timerId_);
    const ProgramProfiles::Clock::time_point now = ProgramProfiles::Clock::now();
    if (const auto at = profiles_.SettlesAt(); at && now < *at) {
        Arm(std::chrono::ceil<std::chrono::milliseconds>(*at - now));
        return;
    }
    const std::optional<ProfileSwitch> due = profiles_.Due(now, ports_.slotOf, program_);
    if (!due) return;
    if (ports_.pressInProgress()) {
        Arm(kPressWait);
        return;
    }
    ports_.apply(*due);
}

void ProgramProfileHost::Recheck() {
    if (window_) Arm(std::chrono::milliseconds(0));
}
