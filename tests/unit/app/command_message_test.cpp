#include <gtest/gtest.h>

#include "app/command_message.h"

namespace {
const CommandRequest kSlot{7, 0x1234'5678'9ABCull, {CommandKind::Slot, 4, {}}};
const CommandRequest kImport{0xFFFF'FFFFu, 0x10, {CommandKind::Import, 0, u"C:\\配置\\a b.ini"}};

std::optional<CommandRequest> Decode(const std::vector<std::uint8_t>& bytes) {
    return DecodeRequest(bytes.data(), bytes.size());
}
}  // namespace

TEST(CommandMessage, RequestsAndRepliesSurviveTheTrip) {
    for (const CommandRequest& request :
         {kSlot, kImport, CommandRequest{1, 2, {CommandKind::Export, 0, std::u16string(kMaxFileUnits, u'x')}}}) {
        EXPECT_EQ(Decode(EncodeRequest(request)), request);
    }
    // The layout is fixed: another build of the program must read it the same.
    const std::vector<std::uint8_t> slot = EncodeRequest(kSlot);
    ASSERT_EQ(slot.size(), 28u);
    EXPECT_EQ(std::vector<std::uint8_t>(slot.begin(), slot.begin() + 8),
              (std::vector<std::uint8_t>{'H', 'X', 'T', 'Q', 2, 0, 1, 0}));
    EXPECT_EQ(slot[20], 4);

    for (const CommandOutcome outcome :
         {CommandOutcome::Done, CommandOutcome::Failed, CommandOutcome::Refused, CommandOutcome::Accepted}) {
        const std::vector<std::uint8_t> bytes = EncodeReply({42, outcome});
        EXPECT_EQ(DecodeReply(bytes.data(), bytes.size()), (CommandReply{42, outcome}));
    }
}

TEST(CommandMessage, MalformedMessagesAreRefused) {
    const std::vector<std::uint8_t> good = EncodeRequest(kImport);
    ASSERT_TRUE(Decode(good));
    // Every shorter or longer copy, read from a buffer exactly that long (ASan sees any overread).
    for (std::size_t n = 0; n < good.size() + 3; ++n) {
        if (n == good.size()) continue;
        std::vector<std::uint8_t> bytes(good.begin(), good.begin() + static_cast<long>(std::min(n, good.size())));
        bytes.resize(n, 0x41);
        EXPECT_FALSE(DecodeRequest(bytes.data(), bytes.size())) << n;
    }
    EXPECT_FALSE(DecodeRequest(nullptr, 100));

    // One field spoiled at a time: tag, version, kind, reply window, slot, length, a NUL unit.
    const auto spoiled = [](std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value) {
        bytes[at] = value;
        return Decode(bytes);
    };
    EXPECT_FALSE(spoiled(good, 0, 'h'));
    EXPECT_FALSE(spoiled(good, 4, 1));  // the version before the acknowledgement
    EXPECT_FALSE(spoiled(good, 6, 0));
    EXPECT_FALSE(spoiled(good, 6, 4));
    EXPECT_FALSE(spoiled(good, 12, 0));
    EXPECT_FALSE(spoiled(good, 20, 1));  // a file command with a slot
    EXPECT_FALSE(spoiled(good, 27, 0x80));  // a length far beyond the data
    EXPECT_FALSE(spoiled(good, 30, 0));
    EXPECT_FALSE(spoiled(EncodeRequest(kSlot), 20, 0));
    EXPECT_FALSE(spoiled(EncodeRequest(kSlot), 20, 6));
    EXPECT_FALSE(Decode(EncodeRequest({1, 2, {CommandKind::Export, 0, {}}})));
    EXPECT_FALSE(Decode(EncodeRequest({1, 2, {CommandKind::Export, 0, std::u16string(kMaxFileUnits + 1, u'x')}})));

    const std::vector<std::uint8_t> reply = EncodeReply({1, CommandOutcome::Failed});
    EXPECT_FALSE(DecodeReply(reply.data(), reply.size() - 1));
    EXPECT_FALSE(DecodeReply(good.data(), good.size()));
    std::vector<std::uint8_t> unknown = reply;
    unknown[6] = 4;
    EXPECT_FALSE(DecodeReply(unknown.data(), unknown.size()));
    unknown = reply;
    unknown[4] = 1;
    EXPECT_FALSE(DecodeReply(unknown.data(), unknown.size()));
}
