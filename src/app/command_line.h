// The program's command line. Normally empty; for scripts and shortcuts, one of
//   --slot N, --export FILE, --import FILE   (also written --slot=N and so on)
// which the running copy carries out (or this start, when none runs), or --help; in the test
// build only, for demonstrations and end-to-end tests:
//   --virtual-mouse=PORT      use a mouse in memory and take its commands on 127.0.0.1:PORT
//   --virtual-mouse-log=FILE  append every feature report that mouse receives to FILE
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/program_command.h"

struct CommandLineOptions {
    std::optional<std::uint16_t> virtualMousePort;
    std::u16string virtualMouseLog;  // empty: no log
    std::optional<ProgramCommand> command;  // the file as given, still relative perhaps
};

// The options, or what is wrong with the arguments (one line per fault, nothing read then).
struct ParsedCommandLine {
    CommandLineOptions options;
    std::vector<std::u16string> errors;
    bool help = false;     // --help: only the usage is wanted
    bool version = false;  // --version: only the version is wanted
    bool quit = false;     // --quit: the running copy is to end
    bool tray = false;     // --tray: the window starts hidden in the tray
    std::optional<bool> startWithWindows;  // --start-with-windows=on|off: the setup's log-on task
    bool ok() const { return errors.empty(); }
};

// Whether the virtual mouse's options exist: the shipped program knows nothing of them.
enum class VirtualMouseOptions { Unknown, Accepted };

// The arguments after the program name. A port is 1 to 65535 in plain decimal digits, a slot one
// digit from 1 to 5; every option may be given once, and at most one of --slot, --export and
// --import; anything unknown is refused rather than ignored.
ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments, VirtualMouseOptions virtualMouse);

// The usage text shown with the errors and for --help, one line per option.
std::u16string CommandLineUsage(VirtualMouseOptions virtualMouse);

// One argument as a Windows command line carries it: quoted when it holds a blank or a quote (or
// is empty), with the backslashes before a quote doubled, so that the C runtime splits it back.
std::u16string QuotedArgument(std::u16string_view argument);

// The arguments of the resident copy a command starts when no copy runs: in the tray, with this
// start's virtual mouse when it has one; quoted, one command line.
std::u16string ResidentCopyArguments(const CommandLineOptions& options);

// What --version prints: the program's name and version.
std::u16string VersionLine();
