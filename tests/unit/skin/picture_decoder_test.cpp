// Pictures encoded here by stb_image_write, decoded the way the program reads its skin.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "skin/picture_decoder.h"
#include "temp_dir.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

void Append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

std::vector<std::uint8_t> Png(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> bytes;
    stbi_write_png_to_func(&Append, &bytes, width, height, 3, rgb.data(), width * 3);
    return bytes;
}

std::vector<std::uint8_t> Jpeg(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> bytes;
    stbi_write_jpg_to_func(&Append, &bytes, width, height, 3, rgb.data(), 95);
    return bytes;
}

TEST(PictureDecoder, DecodesRowsInOrderAndRefusesWhatIsNoPictureOrTooLarge) {
    // Two rows of distinct colours: a swapped channel or row shows.
    const std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const std::optional<RgbPicture> png = DecodePicture(Png(3, 2, rgb));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 3);
    EXPECT_EQ(png->height, 2);
    EXPECT_EQ(png->pixels, rgb);

    const std::vector<std::uint8_t> jpegBytes = Jpeg(16, 8, std::vector<std::uint8_t>(16 * 8 * 3, 200));
    const std::optional<RgbPicture> jpeg = DecodePicture(jpegBytes);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width, 16);
    EXPECT_EQ(jpeg->height, 8);
    EXPECT_NEAR(jpeg->At(15, 7).green, 200, 4);

    // Cut short, not a picture, empty, a side over the limit.
    EXPECT_FALSE(DecodePicture(std::span(jpegBytes).first(jpegBytes.size() / 3)));
    EXPECT_FALSE(DecodePicture(std::vector<std::uint8_t>(600, 0x5A)));
    EXPECT_FALSE(DecodePicture({}));
    EXPECT_FALSE(DecodePicture(Png(kMaxMaskSide + 1, 1, std::vector<std::uint8_t>((kMaxMaskSide + 1) * 3, 1))));

    const TempDir dir;
    dir.Write("page.jpg", std::string(jpegBytes.begin(), jpegBytes.end()));
    EXPECT_TRUE(DecodePictureFile(dir.File("page.jpg")));
    EXPECT_FALSE(DecodePictureFile(dir.File("missing.jpg")));
}

}  // namespace
