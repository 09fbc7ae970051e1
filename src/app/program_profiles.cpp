#include "app/program_profiles.h"

#include <array>

#include "config/config_file.h"
#include "platform/text.h"

bool LeavesSlotAlone(const ForegroundWindow& window) {
    if (window.ours) return true;
    // The desktop (also behind Win+D), the taskbars, the task switchers of Windows 10 and 11.
    static constexpr std::array<std::u16string_view, 9> kShellClasses = {
        u"Progman",  u"WorkerW", u"#32769", u"Shell_TrayWnd", u"Shell_SecondaryTrayWnd", u"MultitaskingViewFrame",
        u"TaskSwitcherWnd", u"XamlExplorerHostIslandWindow", u"ForegroundStaging"};
    for (std::u16string_view shellClass : kShellClasses) {
        if (window.windowClass == shellClass) return true;
    }
    // The lock screen and the log-on screen come and go with the user's session, not a game.
    const std::u16string_view name = FileNameOf(window.programPath);
    return EqualIgnoringAsciiCase(name, u"LockApp.exe") || EqualIgnoringAsciiCase(name, u"LogonUI.exe");
}

void ProgramProfiles::ForegroundChanged(const ForegroundWindow& window, Clock::time_point now) {
    if (LeavesSlotAlone(window)) return;
    front_ = window.programPath;
    if (!window.programPath.empty()) lastProgram_ = window.programPath;
    changedAt_ = now;
}

std::optional<ProgramProfiles::Clock::time_point> ProgramProfiles::SettlesAt() const {
    if (!changedAt_) return std::nullopt;
    return *changedAt_ + kSettleTime;
}

std::optional<ProfileSwitch> ProgramProfiles::Due(Clock::time_point now, const SlotOfProgram& slotOf,
                                                  const ProgramState& program) const {
    if (!changedAt_ || now < *changedAt_ + kSettleTime) return std::nullopt;
    // A program whose path cannot be had (another session's) has no binding either.
    std::optional<int> slot = !front_.empty() && slotOf ? slotOf(front_) : std::nullopt;
    if (slot && (*slot < 1 || *slot > kUserSlotCount)) slot.reset();
    if (slot) {
        ProfileSwitch to{*slot, std::u16string(FileNameOf(front_))};
        if (program.profile && program.profile->program == to.program && program.CurConfig == to.slot) return std::nullopt;
        return to;
    }
    if (program.profile) return ProfileSwitch{program.profile->chosenSlot, {}};
    return std::nullopt;
}

void RunProfileSlot(ProfilePort& profile, ProgramState& program, const ProfileSwitch& to) {
    const int chosen = program.ChosenSlot();
    if (to.program.empty()) {
        SelectSlot(profile, program, chosen);
        return;
    }
    program.CurConfig = to.slot;
    ConfigFile(profile, program.config)
        .LoadConfig(program.paths.ConfigIniPath, to.slot, false, program.language.load());
    program.profile = RunningProfile{to.program, chosen};
}
