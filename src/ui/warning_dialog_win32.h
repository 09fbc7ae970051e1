// The warning shown before a popup would take the left click away: a skinned modal dialog with
// a confirm and a cancel control.
#pragma once

#include <windows.h>

#include <string>

#include "core/language.h"
#include "skin/skin_entry.h"
#include "ui/function_popup_win32.h"

// Runs the warning modally with its top-left corner at screenOrigin and returns 1 (confirm) or
// 2 (cancel, Escape, closed). warning is the warning layout of the current language. A missing
// or unreadable "warning_mask.jpg" gives a plain rectangle just holding the layout's entries;
// with no layout either there is nothing to answer, and the result is 2 at once.
int ShowWarningDialog(HWND owner, POINT screenOrigin, const SkinPage& warning, const std::u16string& skinsDir,
                      LanguageMode language, SkinFonts fonts);
