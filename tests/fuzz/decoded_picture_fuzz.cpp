// libFuzzer target of the kept decoded pictures: whatever a file on disk holds parses to nothing
// or to a header that encodes back to the same bytes and accounts for the whole file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/decoded_picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    // The file's size as the pixels after these bytes would make it, and as the bytes alone.
    for (const std::uint64_t fileSize : {std::uint64_t{size}, std::uint64_t{size} + 16}) {
        const auto parsed = ParseDecodedPictureHeader(bytes, fileSize, 64);
        if (!parsed) continue;
        const std::vector<std::uint8_t> encoded = EncodeDecodedPictureHeader(parsed->header);
        if (encoded.size() != parsed->length || !std::equal(encoded.begin(), encoded.end(), bytes.begin())) std::abort();
        if (parsed->length + parsed->header.PixelBytes() != fileSize) std::abort();
    }
    return 0;
}
