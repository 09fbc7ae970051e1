// The two fonts of the window's texts, one per language, made once and kept for the program's life.
#pragma once

#include "platform/handles_win32.h"

OwnedFont CreateEnglishUiFont();
OwnedFont CreateChineseUiFont();
