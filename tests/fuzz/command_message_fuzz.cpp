// libFuzzer target of the messages between two starts: whatever another process sends decodes
// to nothing or to a request that encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/command_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy exactly as long as the message, so that any read past it is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (const auto request = DecodeRequest(bytes.data(), bytes.size())) {
        if (EncodeRequest(*request) != bytes) std::abort();
    }
    if (const auto reply = DecodeReply(bytes.data(), bytes.size())) {
        if (EncodeReply(*reply) != bytes) std::abort();
    }
    return 0;
}
