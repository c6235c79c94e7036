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
