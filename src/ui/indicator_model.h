// The on-screen indicator without Windows: what it says about a change of slot, DPI stage or
// LED mode, whether it is wanted at all, and where on the monitor it goes.
#pragma once

#include <cstdint>
#include <string>

#include "config/program_state.h"
#include "core/language.h"
#include "skin/skin_entry.h"

// What the indicator can tell about the mouse.
struct IndicatorState {
    int slot = 0;                // 1..kUserSlotCount
    int dpiStage = 0;            // 0-based stage
    std::uint8_t ledMode = 0;    // LedMode
    std::u16string program;      // file name of the program whose profile runs, empty when none
    bool operator==(const IndicatorState&) const = default;
};

// The text for a change from before to after: one line per thing shown that changed, lines
// separated by '\n'; empty when nothing shown changed. The slot's line also names the running
// program, so a change of program alone shows that line. A value outside its range is not
// shown: its line is left out (the program still shows on its own).
std::u16string IndicatorText(const IndicatorState& before, const IndicatorState& after, LanguageMode language);

// What the indicator tells of the program's state: the slot that runs, its stage, the LED mode
// in effect (the LED function's off overrides the applied mode) and a running profile's program.
IndicatorState ShownStateOf(const ProgramState& program);

// The tray icon's tip in the indicator's words: the window's title, the slot that runs, its DPI
// stage and, when a program profile runs it, the program.
std::u16string TrayTipText(const ProgramState& program);

// The indicator tells what the main window would show, so it is only wanted when the window is
// hidden or behind another one, and only when the user has it on.
bool IndicatorWanted(bool indicatorOn, bool mainWindowVisible, bool mainWindowInFront);

struct IndicatorSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Space between the indicator and the bottom of the work area, clear of the taskbar's edge.
inline constexpr std::int64_t kIndicatorBottomMargin = 64;

// Where the indicator goes on a monitor: centred, kIndicatorBottomMargin above the bottom of the
// work area, moved and, when larger than the work area, cut down to lie wholly inside it.
PixelRect IndicatorPlacement(const PixelRect& workArea, IndicatorSize size);
