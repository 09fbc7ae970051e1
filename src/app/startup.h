// The main window's start-up: its steps in their fixed order, and the two steps that are the
// program's own (the configuration and the macros), portable so that they can be tested.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/program_services.h"
#include "config/program_state.h"
#include "macros/macro_file.h"
#include "platform/profile_port.h"

// Larger than this, config.ini is not one the program wrote.
constexpr std::uintmax_t kMaxConfigIniBytes = 1u << 20;

// Builds ConfigIniPath, reads CurConfig and the language, and loads the current slot. A
// config.ini that is there but holds none of the sections the program writes (another encoding,
// another file) or is larger than kMaxConfigIniBytes is kept aside as config.ini.unreadable (or
// .unreadable2, ...), never saved over, and the program starts from the built-in configuration:
// the name it was kept as comes back, for the user to be told.
std::optional<std::u16string> LoadStartupConfiguration(ProfilePort& profile, ProgramState& state);

// The language's macro file becomes MacroFilePath and is loaded (a missing file is reported),
// and the editor's current line is the last event line of the selected macro.
void LoadStartupMacros(ProfilePort& profile, MessagePort& messages, ProgramServices& services);

// What the window does at each step of its start-up.
class StartupSteps {
public:
    virtual ~StartupSteps() = default;
    // The mouse side is absent in a window that only shows the configuration.
    virtual bool HasMouse() = 0;
    virtual void StartWorkers() = 0;  // listener, executor and the blink indicator
    virtual void LoadConfiguration() = 0;
    virtual void SetTitle() = 0;
    virtual void CreateFonts() = 0;
    // False when a file the window cannot do without is missing (the user was told).
    virtual bool LoadSkin() = 0;
    virtual void ShapeWindow() = 0;
    virtual void LoadMacros() = 0;
    virtual void LoadMenus() = 0;
    virtual bool FindMouse() = 0;
    virtual void ShowPlugInMessage() = 0;
    virtual void CloseProgram() = 0;
    // The window goes without a word to the mouse: nothing was applied that needs undoing.
    virtual void AbandonStartup() = 0;
    virtual void WaitBeforeFirstApply() = 0;  // 5 ms
    virtual void Apply() = 0;
};

// The steps in their order, in two halves. Before the first paint, what the window shows (the
// configuration, the skin and its shape, the macros whose names the function boxes show, the
// menus) and whether the mouse is there. True when the second half is to follow the first
// paint. False when a file the window cannot do without is missing: the window was abandoned,
// and the mouse is never looked for or applied, so that no host-mode button is left without the
// program that serves it. False too without the mouse: the plug-in message is shown (over no
// window) and the program closes; the apply still follows, which sets Windows and saves the
// configuration.
bool RunWindowStartup(StartupSteps& steps);

// After the first paint, so that the window comes up without waiting for them: the mouse's
// workers and the first apply; nothing in a window that only shows the configuration. The common
// controls wait for the macro editor's controls, the only ones the window makes.
void RunStartupAfterFirstPaint(StartupSteps& steps);
