// The composition of the main window's three pages: which entry is copied from which picture,
// and which text goes where in which colour. The window gathers a PaintState, runs
// PaintMainWindow on a canvas holding nothing yet, and copies the canvas to the screen.
#pragma once

#include <string>

#include "skin/canvas_port.h"
#include "skin/paint_state.h"
#include "skin/skin_description.h"

void PaintMainWindow(CanvasPort& canvas, const SkinSet& skin, const PaintState& state);

// The status line: working, or waiting for the start key, whose number shows only
// while the blink phase is set.
std::u16string StatusLineText(const PaintState& state);

// The text of a function box, as the catalogue labels the code: the function's name, the macro
// slot's name (also past the macro count), or nothing.
std::u16string FunctionBoxText(const SkinSet& skin, const PaintState& state, std::int64_t code);

// The DPI of the current stage as the colour page shows it.
std::u16string CurrentDpiText(const ActiveConfig& config);
