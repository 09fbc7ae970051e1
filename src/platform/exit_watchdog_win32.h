// The last guard of a program that is ending: once its window is gone and its work is saved,
// nothing may keep the process alive.
#pragma once

#include <windows.h>

// Ends the process with status once ms have passed, unless it has ended by then. A worker that
// does not stop, or a library that hangs in its detach, cannot then keep an ended program in
// memory, where it would hold the single-copy mutex and the mouse's interfaces.
void EndProcessAfter(DWORD ms, UINT status);
