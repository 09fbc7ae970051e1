// The file a decoded skin picture is kept in between starts, so that a start copies the pixels
// of its first paint instead of decoding JPEGs: a header that names the picture file, its stamp
// and size, then the pixels as 32-bit rows, top to bottom. A file that does not match the
// picture file as it is now counts as absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What identifies a picture file's content: its size and last-write time.
struct PictureStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const PictureStamp&) const = default;
};

struct DecodedPictureHeader {
    std::u16string source;  // the picture file's full path
    PictureStamp stamp;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::uint64_t PixelBytes() const;
};

// Longest source path a header takes, in UTF-16 units (the longest path Windows has).
constexpr std::size_t kMaxDecodedSourceLength = 32767;

std::vector<std::uint8_t> EncodeDecodedPictureHeader(const DecodedPictureHeader& header);

// The header at the start of bytes, and its length, when the file of fileSize bytes is exactly
// that header followed by its pixels, and the picture's size is one a window can paint (at most
// maxSide pixels each way). Nothing for anything else: another format, a cut or padded file.
struct ParsedDecodedHeader {
    DecodedPictureHeader header;
    std::size_t length = 0;
};
std::optional<ParsedDecodedHeader> ParseDecodedPictureHeader(std::span<const std::uint8_t> bytes,
                                                             std::uint64_t fileSize, std::int32_t maxSide);

// The file name under which source's pixels are kept: the same for the same path in any case.
std::u16string DecodedPictureFileName(std::u16string_view source);
