#include "core/export/YuvConversion.h"

#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;

namespace {

// Planes with room beyond each row, filled with 0xAA to show what is left
// alone.
struct Planes
{
    Planes(int yStride, int cStride, int rows)
        : y(static_cast<size_t>(yStride * rows), 0xAA),
          u(static_cast<size_t>(cStride * ((rows + 1) / 2)), 0xAA),
          v(static_cast<size_t>(cStride * ((rows + 1) / 2)), 0xAA), planes{y.data(), u.data(),
                                                                           v.data(), yStride,
                                                                           cStride,  cStride}
    {}
    std::vector<uint8_t> y, u, v;
    YuvPlanes planes;
};

} // namespace

TEST(YuvConversion, PlainColours)
{
    // 32 bits: blue, green, red, unused. Red: Y = (66 * 255 + 128) >> 8 = 66,
    // + 16 = 82; from the 2 x 2 sums (R 1020) U = (-38 * 1020 + 512) >> 10 =
    // -38, + 128 = 90, and V = (112 * 1020 + 512) >> 10 = 112, + 128 = 240.
    struct Case
    {
        uint8_t b, g, r, y, u, v;
    };
    for (const Case c : {Case{0, 0, 255, 82, 90, 240}, Case{255, 255, 255, 235, 128, 128},
                         Case{0, 0, 0, 16, 128, 128}, Case{255, 0, 0, 41, 240, 110}}) {
        const std::vector<uint8_t> bits = {c.b, c.g, c.r, 0, c.b, c.g, c.r, 0,
                                           c.b, c.g, c.r, 0, c.b, c.g, c.r, 0};
        Planes p(2, 1, 2);
        bitmapToYuv420(bits.data(), 2, 2, 32, p.planes);
        EXPECT_EQ(p.y, (std::vector<uint8_t>(4, c.y))) << int(c.r) << "," << int(c.b);
        EXPECT_EQ(p.u[0], c.u) << int(c.r) << "," << int(c.b);
        EXPECT_EQ(p.v[0], c.v) << int(c.r) << "," << int(c.b);
    }
}

TEST(YuvConversion, TheBottomRowOfTheBitmapIsTheLastRowOfThePicture)
{
    // Bitmap row 0 black, row 1 white.
    const std::vector<uint8_t> bits = {0,   0,   0,   0,   0,   0,   0,   0,
                                       255, 255, 255, 255, 255, 255, 255, 255};
    Planes p(4, 3, 2);
    bitmapToYuv420(bits.data(), 2, 2, 32, p.planes);
    EXPECT_EQ(p.y, (std::vector<uint8_t>{235, 235, 0xAA, 0xAA, 16, 16, 0xAA, 0xAA}));
    EXPECT_EQ(p.u, (std::vector<uint8_t>{128, 0xAA, 0xAA}));
    EXPECT_EQ(p.v, (std::vector<uint8_t>{128, 0xAA, 0xAA}));
}

TEST(YuvConversion, OddSizesCountTheLastColumnAndRowTwice)
{
    // 24 bits, one row of red, blue, green, padded to 12 bytes.
    const std::vector<uint8_t> bits = {0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0};
    Planes p(3, 2, 1);
    bitmapToYuv420(bits.data(), 3, 1, 24, p.planes);
    // Green: Y (129 * 255 + 128) >> 8 = 128, + 16 = 144.
    EXPECT_EQ(p.y, (std::vector<uint8_t>{82, 41, 144}));
    // Red and blue, the row twice: sums R 510, B 510;
    // U = (74 * 510 + 512) >> 10 = 37 + 128, V = (94 * 510 + 512) >> 10 = 47 + 128.
    // Green alone, four times: G 1020;
    // U = (-74 * 1020 + 512) >> 10 = -74 + 128, V = (-94 * 1020 + 512) >> 10 = -94 + 128.
    EXPECT_EQ(p.u, (std::vector<uint8_t>{165, 54}));
    EXPECT_EQ(p.v, (std::vector<uint8_t>{175, 34}));
}

namespace {

constexpr uint8_t RedY = 82, BlueY = 41;

// A 32-bit bitmap of width x height whose pixels alternate between red and
// blue along each row and each column, red at the top left.
std::vector<uint8_t> checkerboard(int width, int height)
{
    std::vector<uint8_t> bits;
    for (int row = height - 1; row >= 0; --row) // bitmap rows from the bottom
        for (int x = 0; x < width; ++x) {
            const bool red = (x + row) % 2 == 0;
            bits.insert(bits.end(), {uint8_t(red ? 0 : 255), 0, uint8_t(red ? 255 : 0), 0});
        }
    return bits;
}

} // namespace

TEST(YuvConversion, WideRowsGiveEveryPixelItsOwnLuma)
{
    // Eight columns at a time, then the three left over, the last alone;
    // and the last row alone.
    const int width = 19, height = 3;
    Planes p(20, 10, height);
    bitmapToYuv420(checkerboard(width, height).data(), width, height, 32, p.planes);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(p.y[row * 20 + x], (x + row) % 2 ? BlueY : RedY) << x << "," << row;
        EXPECT_EQ(p.y[row * 20 + width], 0xAA) << row;
    }
    // Two red and two blue pixels in every block, R and B 510 each:
    // U = (74 * 510 + 512) >> 10 = 37, + 128; V = (94 * 510 + 512) >> 10 = 47,
    // + 128. The corner block is the red pixel four times: U 90, V 240.
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 10; ++i) {
            const bool corner = row == 1 && i == 9;
            EXPECT_EQ(p.u[row * 10 + i], corner ? 90 : 165) << i << "," << row;
            EXPECT_EQ(p.v[row * 10 + i], corner ? 240 : 175) << i << "," << row;
        }
    }
}

TEST(YuvConversion, WideRowsGiveEveryBlockItsOwnChroma)
{
    // Blocks of 2 x 2 pixels red, white, black, blue, red, ... across
    // sixteen columns: eight blocks, the values of PlainColours.
    struct Colour
    {
        uint8_t b, g, r, u, v;
    };
    const Colour colours[] = {{0, 0, 255, 90, 240},
                              {255, 255, 255, 128, 128},
                              {0, 0, 0, 128, 128},
                              {255, 0, 0, 240, 110}};
    std::vector<uint8_t> bits;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 16; ++x) {
            const Colour &c = colours[(x / 2) % 4];
            bits.insert(bits.end(), {c.b, c.g, c.r, 0xFF});
        }
    Planes p(16, 8, 2);
    bitmapToYuv420(bits.data(), 16, 2, 32, p.planes);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(p.u[i], colours[i % 4].u) << i;
        EXPECT_EQ(p.v[i], colours[i % 4].v) << i;
    }
}
