// How many macros the program keeps: the macro file, the store, the popups and the paint agree.
#pragma once

constexpr int kMaxMacros = 12;
