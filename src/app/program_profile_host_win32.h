// Program profiles on the window's thread: the foreground hook feeds the rules, a one-shot timer
// of the window waits for the foreground to settle, and a due switch is handed to the window,
// which applies it as one of its changes. A press in progress (a macro playing) finishes first.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/foreground_watch_win32.h"
#include "app/program_profiles.h"

struct ProgramProfilePorts {
    std::function<void(const ProfileSwitch&)> apply;  // makes and applies the switch
    std::function<bool()> pressInProgress;
    SlotOfProgram slotOf;  // the bindings as saved; none while the feature is off
};

class ProgramProfileHost {
public:
    ProgramProfileHost(ProgramState& program, ProgramProfilePorts ports) : program_(program), ports_(std::move(ports)) {}

    // Starts watching the foreground; the settle timer is timerId of window.
    void Start(HWND window, UINT_PTR timerId);
    // The window's timerId fired.
    void OnTimer();
    // The bindings or their on switch changed: what is in front now is measured against them.
    void Recheck();
    // The program last in front that is not ours (full path), empty before any.
    const std::u16string& LastProgram() const { return profiles_.LastProgram(); }

private:
    void OnForeground(HWND front);
    void Arm(std::chrono::milliseconds delay);

    ProgramState& program_;
    ProgramProfilePorts ports_;
    ProgramProfiles profiles_;
    std::optional<ForegroundWatch> watch_;
    HWND window_ = nullptr;
    UINT_PTR timerId_ = 0;
};
