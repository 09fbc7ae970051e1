// Functions of system libraries that only some windows need (the common controls, the file
// dialogs), loaded at their first use. Imported, such a library is loaded and started before
// the program's first line runs; the common controls' start-up alone holds back the first paint
// of a Wine start by tens of milliseconds.
#pragma once

#include <windows.h>

// The function name (or, when the library exports it by number only, ordinal) of library;
// nullptr when either cannot be found. The library stays loaded for the rest of the process.
FARPROC LateProcAddress(const wchar_t* library, const char* name, WORD ordinal = 0);

template <typename Function>
Function* LateFunction(const wchar_t* library, const char* name, WORD ordinal = 0) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(LateProcAddress(library, name, ordinal)));
}
