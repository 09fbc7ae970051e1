#include "skin/picture_decoder.h"

#include <climits>
#include <memory>

#include "platform/file_path.h"

#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Refused before any pixel is allocated.
#define STBI_MAX_DIMENSIONS kMaxMaskSide
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

std::optional<RgbPicture> DecodePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3),
        &stbi_image_free);
    if (!pixels || width <= 0 || height <= 0 || width > kMaxMaskSide || height > kMaxMaskSide) return std::nullopt;
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    picture.pixels.assign(pixels.get(), pixels.get() + size);
    return picture;
}

std::optional<RgbPicture> DecodePictureFile(std::u16string_view path) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kMaxPictureFileBytes);
    if (!bytes) return std::nullopt;
    return DecodePicture(*bytes);
}
