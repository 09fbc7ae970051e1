// The messages by which a second start hands its command to the running copy and gets the
// answers back, each the data of a WM_COPYDATA. Little-endian, version 2:
//   request (tag kRequestTag): u32 tag, u16 version, u16 kind (1 slot, 2 export, 3 import),
//     u32 id, u64 reply window, u32 slot (1..5 for a slot switch, else 0), u32 n (the file's
//     UTF-16 units: 0 for a slot switch, else 1..kMaxFileUnits), then n units, no NUL among them;
//   reply (tag kReplyTag): u32 tag, u16 version, u16 outcome (0 done, 1 failed, 2 refused,
//     3 accepted), u32 id.
// The copy's handler of a request only acknowledges it: it sends an "accepted" reply, and takes the
// command (returns TRUE) only when the start's window takes that (answers TRUE), i.e. still waits.
// The copy carries the command out later, from a message of its own, and then sends the outcome.
// A message is exactly that long. The receiving copy reads whatever another process sends, so
// decoding checks every field and length before using it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/program_command.h"

inline constexpr std::uint32_t kRequestTag = 0x51545848;  // "HXTQ"
inline constexpr std::uint32_t kReplyTag = 0x41545848;    // "HXTA"
inline constexpr std::uint16_t kCommandMessageVersion = 2;
inline constexpr std::size_t kMaxFileUnits = 32767;  // the longest path Windows takes

struct CommandRequest {
    std::uint32_t id = 0;           // echoed in the reply
    std::uint64_t replyWindow = 0;  // the second start's window the reply goes to; never 0
    ProgramCommand command;
    bool operator==(const CommandRequest&) const = default;
};

struct CommandReply {
    std::uint32_t id = 0;
    CommandOutcome outcome = CommandOutcome::Done;
    bool operator==(const CommandReply&) const = default;
};

std::vector<std::uint8_t> EncodeRequest(const CommandRequest& request);
std::vector<std::uint8_t> EncodeReply(const CommandReply& reply);
// Nothing unless data holds exactly one well-formed message of the current version.
std::optional<CommandRequest> DecodeRequest(const void* data, std::size_t size);
std::optional<CommandReply> DecodeReply(const void* data, std::size_t size);
