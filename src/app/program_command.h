// What a start of the program asks of the copy that runs: the script commands of the command
// line, and how each ended.
#pragma once

#include <cstdint>
#include <string>

enum class CommandKind : std::uint16_t { Slot = 1, Export = 2, Import = 3 };

struct ProgramCommand {
    CommandKind kind = CommandKind::Slot;
    int slot = 0;         // Slot: 1 to 5
    std::u16string file;  // Export and Import: a full path once it leaves the start
    bool operator==(const ProgramCommand&) const = default;
};

// Refused: the running copy could not read the request (another version, or garbage).
// Accepted is no end: the copy took the command and carries it out later.
enum class CommandOutcome : std::uint16_t { Done = 0, Failed = 1, Refused = 2, Accepted = 3 };

// The one line a start prints about how its command ended.
std::u16string OutcomeLine(const ProgramCommand& command, CommandOutcome outcome);
