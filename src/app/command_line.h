// The program's command line. Normally empty; for demonstrations and end-to-end tests:
//   --virtual-mouse=PORT      use a mouse in memory and take its commands on 127.0.0.1:PORT
//   --virtual-mouse-log=FILE  append every feature report that mouse receives to FILE
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CommandLineOptions {
    std::optional<std::uint16_t> virtualMousePort;
    std::u16string virtualMouseLog;  // empty: no log
};

// The options, or what is wrong with the arguments (one line per fault, nothing read then).
struct ParsedCommandLine {
    CommandLineOptions options;
    std::vector<std::u16string> errors;
    bool ok() const { return errors.empty(); }
};

// The arguments after the program name. A port is 1 to 65535 in plain decimal digits; every
// option may be given once; anything unknown is refused rather than ignored.
ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

// The usage text shown with the errors.
std::u16string CommandLineUsage();
