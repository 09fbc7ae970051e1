#include "platform/late_function_win32.h"

FARPROC LateProcAddress(const wchar_t* library, const char* name, WORD ordinal) {
    const HMODULE module = LoadLibraryW(library);
    if (!module) return nullptr;
    if (const FARPROC byName = GetProcAddress(module, name)) return byName;
    return ordinal != 0 ? GetProcAddress(module, MAKEINTRESOURCEA(ordinal)) : nullptr;
}
