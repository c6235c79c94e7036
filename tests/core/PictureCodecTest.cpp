#include "core/export/PngEncoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace dorvane;

namespace {

std::vector<uint8_t> inflated(const uint8_t *data, size_t size, size_t expected)
{
    std::vector<uint8_t> out(expected + 16);
    uLongf length = out.size();
    EXPECT_EQ(uncompress(out.data(), &length, data, size), Z_OK);
    out.resize(length);
    return out;
}

} // namespace

TEST(PictureCodec, WritesTruecolourPng)
{
    RgbPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const auto png = encodePng(picture);
    ASSERT_GT(png.size(), 8u + 25u + 12u + 12u);
    const std::vector<uint8_t> head(png.begin(), png.begin() + 33);
    EXPECT_EQ(head,
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0,   0, 0, 13,
                                    'I',  'H', 'D', 'R', 0,    0,    0,    2,    0,   0, 0, 2,
                                    8,    2,   0,   0,   0,    0xFD, 0xD4, 0x9A, 0x73}));
    // IDAT: each row after filter type 0.
    const uint32_t idatLength =
        static_cast<uint32_t>(png[33] << 24 | png[34] << 16 | png[35] << 8 | png[36]);
    ASSERT_EQ(std::string(png.begin() + 37, png.begin() + 41), "IDAT");
    ASSERT_EQ(png.size(), 33u + 12u + idatLength + 12u);
    EXPECT_EQ(inflated(png.data() + 41, idatLength, 14),
              (std::vector<uint8_t>{0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255}));
    const std::vector<uint8_t> end(png.end() - 12, png.end());
    EXPECT_EQ(end, (std::vector<uint8_t>{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));

    picture.pixels.pop_back();
    EXPECT_TRUE(encodePng(picture).empty());
    EXPECT_TRUE(encodePng(RgbPicture{}).empty());
}
