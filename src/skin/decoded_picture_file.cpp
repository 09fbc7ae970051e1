#include "skin/decoded_picture_file.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<std::uint8_t, 8> kMagic{'H', 'X', 'T', 'P', 'I', 'X', 1, 0};
// Magic, size, last write, width, height, source length.
constexpr std::size_t kFixedLength = 8 + 8 + 8 + 4 + 4 + 4;

template <typename T>
void Put(std::vector<std::uint8_t>& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
}

template <typename T>
T Take(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::uint64_t>(bytes[at + i]) << (8 * i);
    return static_cast<T>(value);
}

}  // namespace

std::uint64_t DecodedPictureHeader::PixelBytes() const {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4;
}

std::vector<std::uint8_t> EncodeDecodedPictureHeader(const DecodedPictureHeader& header) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    Put(out, header.stamp.size);
    Put(out, header.stamp.lastWrite);
    Put(out, header.width);
    Put(out, header.height);
    Put(out, static_cast<std::uint32_t>(header.source.size()));
    for (const char16_t unit : header.source) Put(out, static_cast<std::uint16_t>(unit));
    return out;
}

std::optional<ParsedDecodedHeader> ParseDecodedPictureHeader(std::span<const std::uint8_t> bytes,
                                                             std::uint64_t fileSize, std::int32_t maxSide) {
    if (bytes.size() < kFixedLength || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) return std::nullopt;
    ParsedDecodedHeader parsed;
    DecodedPictureHeader& header = parsed.header;
    header.stamp.size = Take<std::uint64_t>(bytes, 8);
    header.stamp.lastWrite = Take<std::uint64_t>(bytes, 16);
    header.width = Take<std::int32_t>(bytes, 24);
    header.height = Take<std::int32_t>(bytes, 28);
    const auto sourceLength = Take<std::uint32_t>(bytes, 32);
    if (header.width <= 0 || header.height <= 0 || header.width > maxSide || header.height > maxSide) return std::nullopt;
    if (sourceLength > kMaxDecodedSourceLength) return std::nullopt;
    parsed.length = kFixedLength + std::size_t{sourceLength} * 2;
    if (bytes.size() < parsed.length || fileSize != parsed.length + header.PixelBytes()) return std::nullopt;
    header.source.resize(sourceLength);
    for (std::size_t i = 0; i < sourceLength; ++i) header.source[i] = static_cast<char16_t>(Take<std::uint16_t>(bytes, kFixedLength + 2 * i));
    return parsed;
}

std::u16string DecodedPictureFileName(std::u16string_view source) {
    // FNV-1a over the path with ASCII letters folded, as Windows compares paths.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char16_t unit : source) {
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
        for (const auto byte : {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)}) {
            hash ^= byte;
            hash *= 0x100000001b3ull;
        }
    }
    std::u16string name;
    for (int shift = 60; shift >= 0; shift -= 4) name += u"0123456789abcdef"[(hash >> shift) & 0xF];
    return name + u".pixels";
}
