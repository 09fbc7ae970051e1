#include "skin/decoded_picture_file.h"

#include <gtest/gtest.h>

namespace {

const DecodedPictureHeader kHeader{u"C:\\Program Files\\HXT\\skins\\main_normal.jpg", {68286, 0x01DB4A2F12345678}, 760, 560};

std::uint64_t FileSizeOf(const DecodedPictureHeader& header) {
    return EncodeDecodedPictureHeader(header).size() + header.PixelBytes();
}

TEST(DecodedPictureFile, AHeaderReadsBackOnlyForAFileOfExactlyItsPixels) {
    const std::vector<std::uint8_t> bytes = EncodeDecodedPictureHeader(kHeader);
    const auto parsed = ParseDecodedPictureHeader(bytes, FileSizeOf(kHeader), 8192);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->header.source, kHeader.source);
    EXPECT_EQ(parsed->header.stamp, kHeader.stamp);
    EXPECT_EQ(parsed->header.width, 760);
    EXPECT_EQ(parsed->header.height, 560);
    EXPECT_EQ(parsed->length, bytes.size());
    EXPECT_EQ(parsed->header.PixelBytes(), 760u * 560u * 4u);

    // A cut or padded file, a short read of the header, another format: absent.
    EXPECT_FALSE(ParseDecodedPictureHeader(bytes, FileSizeOf(kHeader) - 1, 8192));
    EXPECT_FALSE(ParseDecodedPictureHeader(bytes, FileSizeOf(kHeader) + 1, 8192));
    EXPECT_FALSE(ParseDecodedPictureHeader(std::span(bytes).first(bytes.size() - 1), FileSizeOf(kHeader), 8192));
    EXPECT_FALSE(ParseDecodedPictureHeader(std::span(bytes).first(20), FileSizeOf(kHeader), 8192));
    std::vector<std::uint8_t> other = bytes;
    other[0] = 'J';
    EXPECT_FALSE(ParseDecodedPictureHeader(other, FileSizeOf(kHeader), 8192));
}

TEST(DecodedPictureFile, SizesAWindowCannotPaintOrPathsLongerThanWindowsTakesAreRefused) {
    for (const auto& [width, height] : {std::pair{0, 5}, {5, 0}, {-760, 560}, {8193, 1}, {1, 8193}}) {
        DecodedPictureHeader header = kHeader;
        header.width = width;
        header.height = height;
        const std::vector<std::uint8_t> bytes = EncodeDecodedPictureHeader(header);
        // Whatever size the file claims, the header is refused.
        EXPECT_FALSE(ParseDecodedPictureHeader(bytes, bytes.size() + header.PixelBytes(), 8192)) << width << "x" << height;
    }
    DecodedPictureHeader longPath = kHeader;
    longPath.source.assign(kMaxDecodedSourceLength + 1, u'a');
    const std::vector<std::uint8_t> bytes = EncodeDecodedPictureHeader(longPath);
    EXPECT_FALSE(ParseDecodedPictureHeader(bytes, bytes.size() + longPath.PixelBytes(), 8192));
    // A length field that claims more than the bytes hold never reads past them.
    std::vector<std::uint8_t> claimsMore = EncodeDecodedPictureHeader(kHeader);
    claimsMore[32] = 0xFF;
    claimsMore[33] = 0x7F;
    EXPECT_FALSE(ParseDecodedPictureHeader(claimsMore, FileSizeOf(kHeader), 8192));
}

TEST(DecodedPictureFile, OnePathInAnyCaseHasOneFileNameAndOtherPathsOthers) {
    const std::u16string name = DecodedPictureFileName(u"C:\\Skins\\main_normal.jpg");
    EXPECT_EQ(name, DecodedPictureFileName(u"c:\\SKINS\\Main_Normal.JPG"));
    EXPECT_NE(name, DecodedPictureFileName(u"C:\\Skins\\main_down.jpg"));
    EXPECT_NE(name, DecodedPictureFileName(u"D:\\Skins\\main_normal.jpg"));
    EXPECT_EQ(name.size(), 16u + 7u);
    EXPECT_EQ(name.find_first_not_of(u"0123456789abcdef"), 16u);
}

}  // namespace
