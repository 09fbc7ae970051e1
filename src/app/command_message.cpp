#include "app/command_message.h"

#include <utility>

namespace {
constexpr std::size_t kRequestHeader = 28;
constexpr std::size_t kReplySize = 12;

class Writer {
public:
    void Put(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
};

// Reads at fixed offsets of a message whose size the caller checked first.
class Reader {
public:
    explicit Reader(const void* data) : data_(static_cast<const std::uint8_t*>(data)) {}
    std::uint64_t Get(std::size_t offset, int bytes) const {
        std::uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data_[offset + static_cast<std::size_t>(i)];
        return value;
    }

private:
    const std::uint8_t* data_;
};

bool ValidFileKind(std::uint64_t kind) {
    return kind == static_cast<std::uint16_t>(CommandKind::Export) || kind == static_cast<std::uint16_t>(CommandKind::Import);
}
}  // namespace

std::vector<std::uint8_t> EncodeRequest(const CommandRequest& request) {
    Writer w;
    const ProgramCommand& c = request.command;
    const bool slot = c.kind == CommandKind::Slot;
    w.Put(kRequestTag, 4);
    w.Put(kCommandMessageVersion, 2);
    w.Put(static_cast<std::uint16_t>(c.kind), 2);
    w.Put(request.id, 4);
    w.Put(request.replyWindow, 8);
    w.Put(slot ? static_cast<std::uint32_t>(c.slot) : 0, 4);
    w.Put(slot ? 0 : c.file.size(), 4);
    if (!slot) {
        for (char16_t unit : c.file) w.Put(unit, 2);
    }
    return w.Take();
}

std::vector<std::uint8_t> EncodeReply(const CommandReply& reply) {
    Writer w;
    w.Put(kReplyTag, 4);
    w.Put(kCommandMessageVersion, 2);
    w.Put(static_cast<std::uint16_t>(reply.outcome), 2);
    w.Put(reply.id, 4);
    return w.Take();
}

std::optional<CommandRequest> DecodeRequest(const void* data, std::size_t size) {
    if (!data || size < kRequestHeader) return std::nullopt;
    const Reader r(data);
    if (r.Get(0, 4) != kRequestTag || r.Get(4, 2) != kCommandMessageVersion) return std::nullopt;
    const std::uint64_t kind = r.Get(6, 2);
    const std::uint64_t slot = r.Get(20, 4);
    const std::uint64_t units = r.Get(24, 4);
    if (units > kMaxFileUnits || size != kRequestHeader + 2 * units) return std::nullopt;

    CommandRequest request;
    request.id = static_cast<std::uint32_t>(r.Get(8, 4));
    request.replyWindow = r.Get(12, 8);
    if (request.replyWindow == 0) return std::nullopt;
    if (kind == static_cast<std::uint16_t>(CommandKind::Slot)) {
        if (slot < 1 || slot > 5 || units != 0) return std::nullopt;
        request.command = {CommandKind::Slot, static_cast<int>(slot), {}};
        return request;
    }
    if (!ValidFileKind(kind) || slot != 0 || units == 0) return std::nullopt;
    request.command.kind = static_cast<CommandKind>(kind);
    request.command.file.resize(units);
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(r.Get(kRequestHeader + 2 * i, 2));
        if (unit == 0) return std::nullopt;  // a NUL would cut the path short where Windows reads it
        request.command.file[i] = unit;
    }
    return request;
}

std::optional<CommandReply> DecodeReply(const void* data, std::size_t size) {
    if (!data || size != kReplySize) return std::nullopt;
    const Reader r(data);
    if (r.Get(0, 4) != kReplyTag || r.Get(4, 2) != kCommandMessageVersion) return std::nullopt;
    const std::uint64_t outcome = r.Get(6, 2);
    if (outcome > static_cast<std::uint16_t>(CommandOutcome::Accepted)) return std::nullopt;
    return CommandReply{static_cast<std::uint32_t>(r.Get(8, 4)), static_cast<CommandOutcome>(outcome)};
}
