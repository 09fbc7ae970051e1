// The program profiles dialog: the user binds programs to slots, and turns the switching on or
// off. A standard dialog in the program's language, opened from the tray menu.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config/app_bindings.h"
#include "core/language.h"
#include "platform/file_dialog_port.h"

// Shows the dialog modal to owner, starting from current. "Add…" asks files for a program;
// lastInFront is the full path of the program last in front, empty when none is known. The
// bindings as edited on OK; nothing on Cancel (or when the dialog could not be made). The caller
// saves them.
std::optional<AppBindings> ShowProgramProfilesDialog(HWND owner, LanguageMode language, const AppBindings& current,
                                                     FileDialogPort& files, const std::u16string& lastInFront);
