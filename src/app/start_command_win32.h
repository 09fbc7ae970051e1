// The command line as this start of the program takes it: its arguments, the usage told, files
// made full paths, and a command handed to the copy that already runs.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

// The arguments after the program's name.
std::vector<std::u16string> CommandLineArguments();

// Tells text on the console the program was started from; without one, in a message box when
// it is an error.
void TellStarter(const std::wstring& text, bool error);

// The faults and the usage, or only the usage for --help. The exit status: 2 or 0.
int TellUsage(const ParsedCommandLine& parsed, VirtualMouseOptions virtualMouse);

// The command with its file resolved against this start's current folder: the running copy
// has a folder of its own.
ProgramCommand WithFullPath(ProgramCommand command);

// Another copy runs: command (or, without one, the request to show its window) goes to it. The
// exit status: 0 done, 1 not done (the reason told).
int CommandRunningCopy(const std::optional<ProgramCommand>& command);
// No copy runs: the resident copy starts in the tray as a process of its own, with this start's
// virtual mouse, and command goes to it as to any running copy; this start ends with the outcome.
int CommandNewCopy(const CommandLineOptions& options, const ProgramCommand& command);
// --quit: the running copy (copy: whether one holds the instance mutex) ends as the tray's Exit
// ends it. 0 once it has ended, 1 when none ran or it did not end within the command deadline.
int QuitRunningCopy(bool copy);
