// The three pages of the main window. The window changes the page; the animators and the paint
// read it.
#pragma once

#include <cstdint>

enum class WindowPage : std::uint8_t { Main = 0, Advanced = 1, Colour = 2 };
