// What the main window shows until its skin is painted: a plain dark face with the title and
// the current configuration, enough to recognise the window.
#pragma once

#include <windows.h>

#include <string>

#include "config/language.h"

void DrawPlaceholderFace(HDC dc, const RECT& area, const std::wstring& title, int slot,
                         LanguageMode language, HFONT font);
