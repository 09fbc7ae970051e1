// The virtual mouse's line protocol, for test scripts talking to it over a socket: one command
// line in, answer lines out, the last one "OK" or "ERR <reason>". Commands:
//   press N | release N     configuration button N (1..7) goes down or up
//   report HH HH ...        a raw input report, report ID first (1 to 9 bytes, zero-padded)
//   features                one line per feature report received since start or clear
//   clear                   forget the feature reports received
//   state                   key=value lines: map1..map8, dpi_stage, dpi_value, led, wheel, fire
//   unplug | plug           the mouse leaves or arrives
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/virtual_mouse.h"

constexpr std::size_t kMaxCommandLine = 1024;

enum class VirtualMouseVerb { Press, Release, Report, Features, Clear, State, Unplug, Plug };

struct VirtualMouseCommand {
    VirtualMouseVerb verb = VirtualMouseVerb::State;
    int button = 0;                   // press, release
    std::vector<std::uint8_t> bytes;  // report
};

// A command, or the reason the line is not one.
struct ParsedCommand {
    std::optional<VirtualMouseCommand> command;
    std::string error;
};

// Parses one line (a trailing CR/LF is ignored; words are separated by spaces or tabs; the verb
// in any letter case). Never fails on any input: bad lines give an error.
ParsedCommand ParseVirtualMouseCommand(std::string_view line);

// Runs one command line against the mouse and returns the answer lines.
std::vector<std::string> RunVirtualMouseCommand(VirtualMouse& mouse, std::string_view line);
