// The program's parts around a virtual mouse, wired as the application wires them, for tests
// that run the mouse side for real.
#pragma once

#include <memory>

#include "app/virtual_mouse_session_win32.h"
#include "app/host_runtime_win32.h"
#include "app/main_dialog_win32.h"
#include "app/program_services.h"
#include "platform/clock_win32.h"
#include "platform/input_injector_win32.h"
#include "platform/profile_win32.h"
#include "platform/shell_win32.h"
#include "platform/system_settings_win32.h"
#include "win32/window_ports.h"

struct MouseRig {
    MouseRig() : MouseRig(windowsSettings) {}
    // With other system settings than Windows' own (Wine loses the pointer speed).
    explicit MouseRig(SystemSettingsPort& settings) : MouseRig(settings, sendInput) {}
    // And with other keys and buttons than the system's.
    MouseRig(SystemSettingsPort& settings, InputInjectorPort& injector)
        : runtime(services, HostPorts{profile, settings, injector, shell, clock}) {}
    // The program in folder dir, on slot 1 with the built-in configuration.
    void UseProgramDir(const std::wstring& dir) {
        ProgramState& program = services.program;
        program.paths.ProgramDir = FromWide(dir);
        program.paths.ConfigIniPath = FromWide(dir + L"\\config.ini");
        program.CurConfig = 1;
        SetBuiltInDefaults(program.config);
    }
    ~MouseRig() {
        session.Stop();
        runtime.Stop();
    }

    ProgramServices services;
    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    VirtualMouseSession session{mouse};
    Win32Profile profile;
    Win32SystemSettings windowsSettings;
    SendInputInjector sendInput;
    Win32Shell shell;
    PreciseSleeper clock;
    HostRuntime runtime;
    ProgramMouse programMouse{session, runtime};
    OwnWindowPorts window;
};
