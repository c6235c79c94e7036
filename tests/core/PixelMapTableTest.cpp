#include "core/display/PixelMapTable.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>
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

TEST(PixelMapTable, ComputedTablesAreIdentical)
{
    // Two threads asking at once get the one table; a fresh computation
    // matches it code for code.
    const PixelMapTable *seen[2] = {};
    std::thread a([&] { seen[0] = &PixelMapTable::instance(); });
    std::thread b([&] { seen[1] = &PixelMapTable::instance(); });
    a.join();
    b.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(PixelMapTable::compute().codes(), seen[0]->codes());
}

TEST(PixelMapTable, LeadingEdgeCodesMatchTheFirstCodes)
{
    const PixelMapTable &t = PixelMapTable::instance();
    for (int b = 0; b < BeamCount; ++b)
        for (int s = 0; s < SamplesPerBeam; ++s)
            ASSERT_EQ(t.leadingEdgeCode(b, s), t.firstCode(cellIndex(b, s))) << b << "," << s;
}
