#include "core/display/PixelMapTable.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;

namespace {
int cellIndex(int beam, int sample)
{
    return beam * SamplesPerBeam + sample;
}
} // namespace

TEST(PixelMapTable, HasTheKnownSize)
{
    const PixelMapTable &table = PixelMapTable::instance();
    EXPECT_EQ(table.codeCount(), 308376u);
    std::vector<int> listed(PictureSize * PictureSize, 0);
    for (int c = 0; c < SampleCount; ++c) {
        const auto cell = table.cell(c);
        ASSERT_GE(cell.size(), 1u);
        ASSERT_LE(cell.size(), 7u);
        for (uint32_t code : cell)
            ++listed[static_cast<size_t>(pixelCodeY(code) * PictureSize + pixelCodeX(code))];
    }
    EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [](int n) { return n > 0; }), 194677);
}

TEST(PixelMapTable, CoversTheDiscAndNothingBeyond)
{
    std::vector<bool> listed(PictureSize * PictureSize, false);
    for (uint32_t code : PixelMapTable::instance().codes())
        listed[static_cast<size_t>(pixelCodeY(code) * PictureSize + pixelCodeX(code))] = true;
    for (int y = 0; y < PictureSize; ++y) {
        for (int x = 0; x < PictureSize; ++x) {
            const double d = std::hypot(x - 250.0, y - 250.0);
            const bool isListed = listed[static_cast<size_t>(y * PictureSize + x)];
            if (d <= 248.5) {
                ASSERT_TRUE(isListed) << x << "," << y;
            }
            if (d > 249.0) {
                ASSERT_FALSE(isListed) << x << "," << y;
            }
        }
    }
}

TEST(PixelMapTable, FirstCodesLieOnTheBeamsLeadingEdges)
{
    const PixelMapTable &t = PixelMapTable::instance();
    for (int b = 0; b < BeamCount; ++b)
        ASSERT_EQ(t.firstCode(cellIndex(b, 0)), makePixelCode(250, 250));
    EXPECT_EQ(t.firstCode(cellIndex(0, 249)), makePixelCode(250, 499));
    EXPECT_EQ(t.firstCode(cellIndex(100, 249)), makePixelCode(499, 250));
    EXPECT_EQ(t.firstCode(cellIndex(200, 249)), makePixelCode(250, 1));
    EXPECT_EQ(t.firstCode(cellIndex(300, 249)), makePixelCode(1, 250));
    // Beam 0 fans out clockwise: the cell's last step leans right of straight up.
    const auto cell = t.cell(cellIndex(0, 249));
    EXPECT_GT(pixelCodeX(cell.back()), 250);
    // Sample 0 of every beam is a single point.
    EXPECT_EQ(t.cell(cellIndex(123, 0)).size(), 1u);
}

TEST(PixelMapTable, KnownCellsListTheirPixels)
{
    // Cell (b, s) lists (250 + trunc(s sin phi), 250 + trunc(s cos phi)) for
    // phi = b * 0.9 deg + k * 0.09 deg, k = 0..9, each point once; y counts
    // upwards.
    const PixelMapTable &t = PixelMapTable::instance();
    const auto codes = [&](int beam, int sample) {
        const auto cell = t.cell(cellIndex(beam, sample));
        return std::vector<uint32_t>(cell.begin(), cell.end());
    };
    // Sample 0 is the centre at every angle.
    EXPECT_EQ(codes(0, 0), std::vector<uint32_t>{makePixelCode(250, 250)});
    // Beam 0, sample 249, straight up: 249 sin phi = 0, 0.39, 0.78, 1.17,
    // 1.56, 1.96, 2.35, 2.74, 3.13, 3.52 and 249 cos phi = 249 at k = 0,
    // 248.99.. after.
    EXPECT_EQ(codes(0, 249),
              (std::vector<uint32_t>{makePixelCode(250, 499), makePixelCode(250, 498),
                                     makePixelCode(251, 498), makePixelCode(252, 498),
                                     makePixelCode(253, 498)}));
    // Beam 0, sample 100: 100 sin phi reaches 1 at k = 7 (1.0996), 100 cos
    // phi drops below 100 from k = 1.
    EXPECT_EQ(codes(0, 100),
              (std::vector<uint32_t>{makePixelCode(250, 350), makePixelCode(250, 349),
                                     makePixelCode(251, 349)}));
    // Beam 100 is 90 deg, to the right, and fans out downwards (clockwise):
    // x = 250 + trunc(249 cos(k * 0.09 deg)), y = 250 - trunc(249 sin(...)).
    EXPECT_EQ(codes(100, 249),
              (std::vector<uint32_t>{makePixelCode(499, 250), makePixelCode(498, 250),
                                     makePixelCode(498, 249), makePixelCode(498, 248),
                                     makePixelCode(498, 247)}));
}

TEST(PixelMapTable, LeadingEdgeCodesMatchTheFirstCodes)
{
    const PixelMapTable &t = PixelMapTable::instance();
    for (int b = 0; b < BeamCount; ++b)
        for (int s = 0; s < SamplesPerBeam; ++s)
            ASSERT_EQ(t.leadingEdgeCode(b, s), t.firstCode(cellIndex(b, s))) << b << "," << s;
}
