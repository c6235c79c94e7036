#include "DocxTestFiles.h"
#include "core/display/DibBlock.h"
#include "core/export/BmpFile.h"
#include "core/export/BmpReader.h"
#include "core/export/PngEncoder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace dorvane;
using namespace dorvane::test;

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

TEST(PictureCodec, ReadsBitmapsTopRowFirst)
{
    TempDir dir;
    // 24 bits: red, green on top; blue, white below.
    const std::string rgb = dir.file("rgb.bmp");
    writeBmp24(rgb, 2, 2, [](int x, int y) {
        static const uint32_t colours[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};
        return colours[y][x];
    });
    const auto picture = readBmpPicture(rgb);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 2);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->pixels,
              (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));

    // 8 bits through the colour table, as the sonar pictures are written.
    DibBlock indexed(3, 1, 8);
    indexed.setColour(0, PaletteEntry{30, 20, 10, 0});
    indexed.setColour(1, PaletteEntry{60, 50, 40, 0});
    indexed.setColour(2, PaletteEntry{90, 80, 70, 0});
    indexed.row(0)[0] = 2;
    indexed.row(0)[1] = 0;
    indexed.row(0)[2] = 1;
    const std::string eight = dir.file("eight.bmp");
    ASSERT_TRUE(writeBmpFile(eight, indexed));
    const auto colours = readBmpPicture(eight);
    ASSERT_TRUE(colours);
    EXPECT_EQ(colours->pixels, (std::vector<uint8_t>{70, 80, 90, 10, 20, 30, 40, 50, 60}));
}

TEST(PictureCodec, RefusesWhatIsNotAPlausibleBitmap)
{
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    writeBmp24(path, 4, 3, [](int, int) { return 0x123456u; });
    const auto good = readFileBytes(path);
    ASSERT_TRUE(readBmpPicture(path));

    auto write = [&](size_t offset, std::vector<uint8_t> bytes) {
        auto changed = good;
        std::copy(bytes.begin(), bytes.end(), changed.begin() + static_cast<ptrdiff_t>(offset));
        writeFileBytes(path, changed);
        return readBmpPicture(path).has_value();
    };
    EXPECT_FALSE(write(0, {'B', 'A'}));               // signature
    EXPECT_FALSE(write(18, {0, 0, 0, 0}));            // width 0
    EXPECT_FALSE(write(18, {0x01, 0x80, 0, 0}));      // width 32769
    EXPECT_FALSE(write(22, {0, 0, 0, 0}));            // height 0
    EXPECT_FALSE(write(28, {16, 0}));                 // 16 bits a pixel
    EXPECT_FALSE(write(30, {1, 0, 0, 0}));            // run-length compressed
    EXPECT_FALSE(write(10, {0xFF, 0xFF, 0, 0}));      // pixels past the end
    EXPECT_TRUE(write(22, {0xFD, 0xFF, 0xFF, 0xFF})); // height -3: top-down
    auto cut = good;
    cut.pop_back();
    writeFileBytes(path, cut);
    EXPECT_FALSE(readBmpPicture(path));
    EXPECT_FALSE(readBmpPicture(dir.file("absent.bmp")));
}

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
