// Program profiles: while a window of a program bound to a slot is in front, the mouse runs that
// slot; when a program without a binding comes to the front, the slot the user chose comes back.
// The window's thread feeds it each change of the foreground and asks, once the foreground has
// stayed put for kSettleTime, which switch is due; nothing polls.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/program_state.h"
#include "platform/profile_port.h"

// The window in front, as the foreground hook sees it.
struct ForegroundWindow {
    std::u16string programPath;  // the full path of its program; empty when it cannot be had
    std::u16string windowClass;
    bool ours = false;  // one of this program's own windows
};

// Windows that leave the slot as it is: ours, the desktop, the taskbar, the task switcher and
// the lock screen. Alt+Tab and Win+D pass through them on the way to the next program.
bool LeavesSlotAlone(const ForegroundWindow& window);

// A switch to make: a program's slot, or back to the chosen slot (program empty).
struct ProfileSwitch {
    int slot = 0;
    std::u16string program;
    bool operator==(const ProfileSwitch&) const = default;
};

// A program's slot (1..5) by its full path, nothing when it has no binding.
using SlotOfProgram = std::function<std::optional<int>(std::u16string_view programPath)>;

class ProgramProfiles {
public:
    using Clock = std::chrono::steady_clock;
    // Alt+Tab through five windows touches the mouse once, or not at all.
    static constexpr std::chrono::milliseconds kSettleTime{300};

    // A new window in front at now; one that leaves the slot alone is not remembered.
    void ForegroundChanged(const ForegroundWindow& window, Clock::time_point now);
    // When the last change settles; nothing when none waits.
    std::optional<Clock::time_point> SettlesAt() const;
    // The switch due at now for the program in front: its slot, or the chosen slot once no bound
    // program is in front; nothing while the foreground has not settled, when the mouse already
    // runs what is due, or without a program seen yet. With the feature off slotOf gives no
    // program a slot, so only the way back runs. A switch that could not be made (no mouse) is due
    // again at the next call.
    std::optional<ProfileSwitch> Due(Clock::time_point now, const SlotOfProgram& slotOf, const ProgramState& program) const;
    // The program last in front that is not ours, for the dialog's "add".
    const std::u16string& LastProgram() const { return lastProgram_; }

private:
    std::optional<Clock::time_point> changedAt_;
    std::u16string front_;  // the path of the program in front
    std::u16string lastProgram_;
};

// Makes a switch: the program's slot runs without becoming config.ini's CurConfig, or the chosen
// slot comes back. The caller applies it.
void RunProfileSlot(ProfilePort& profile, ProgramState& program, const ProfileSwitch& to);
