// The skin's pictures (JPEG, also PNG and BMP) decoded into RGB rows, by stb_image: the system's
// decoders would load a dozen libraries into the resident program for a few pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "skin/mask_region.h"

// Larger than this, a file is no picture of a skin.
inline constexpr std::uintmax_t kMaxPictureFileBytes = 64u << 20;

// The picture the bytes hold; nothing for bytes that are no picture of those kinds, or one with a
// side over kMaxMaskSide.
std::optional<RgbPicture> DecodePicture(std::span<const std::uint8_t> bytes);

// The same for the file at path; nothing too when it cannot be read.
std::optional<RgbPicture> DecodePictureFile(std::u16string_view path);
