// Text for the console or shell that started the program. The program is a windowed one, so
// it has no console of its own: it writes to the standard output it inherited (a redirection,
// a pipe, or Wine's terminal) or else to the console of the process that started it.
#pragma once

#include <string>

// Writes text and a line end; false when no console or standard output could be reached.
bool WriteToStartingConsole(const std::wstring& text);
