#include "core/display/DeviationColour.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/document/DerivedFrames.h"

#include <gtest/gtest.h>

using namespace dorvane;

namespace {

// A survey whose frame f has every beam at radius(f, b) with the given pipe
// radius and error rate, in pixels and per cent.
template<typename Radius>
DerivedFrames survey(int frames, uint32_t pipe, uint32_t range, Radius radius)
{
    DerivedFrames d;
    d.resize(frames);
    for (int f = 0; f < frames; ++f) {
        FrameAnalysis a;
        for (int b = 0; b < 400; ++b)
            a.radii[static_cast<size_t>(b)] = radius(f, b);
        a.radii[400] = pipe;
        a.radii[401] = range;
        d.store(f, FrameHeader{}, a);
    }
    return d;
}

} // namespace

TEST(DeviationColour, BandsAroundThePipeRadius)
{
    EXPECT_EQ(deviationColour(100, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(deviationColour(102, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(deviationColour(98, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(deviationColour(103, 20), (Rgb{255, 217, 217}));
    EXPECT_EQ(deviationColour(97, 20), (Rgb{217, 217, 255}));
    EXPECT_EQ(deviationColour(120, 20), (Rgb{255, 0, 0}));
    EXPECT_EQ(deviationColour(80, 20), (Rgb{0, 0, 255}));
    EXPECT_EQ(deviationColour(121, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(deviationColour(79, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(deviationColour(0, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(deviationColour(103, 0), (Rgb{0, 0, 0})); // no band beyond the white
}

TEST(DeviationColour, BeamsOfAFrameWithoutPipeRadiusAreBlack)
{
    EXPECT_EQ(beamColour(125, 125, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(beamColour(125, 0, 10), (Rgb{0, 0, 0}));
    uint16_t percent = 1;
    EXPECT_FALSE(radiusPercent(5, 0, percent));
    EXPECT_TRUE(radiusPercent(70000, 100, percent));
    EXPECT_EQ(percent, static_cast<uint16_t>(70000)); // cut to 16 bits
}

TEST(DeviationColour, FractionalPercentagesAreCutToWholeOnes)
{
    // 205 of 200 pixels is 102.5 %: 102, still white. 195 of 200 is 97.5 %:
    // 97, the first pale blue, 255 - 3 * 255 / 20 = 217.
    EXPECT_EQ(beamColour(205, 200, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(beamColour(195, 200, 20), (Rgb{217, 217, 255}));
    // 206 of 200 is 103 %: pale red; 196 of 200 is 98 %: white.
    EXPECT_EQ(beamColour(206, 200, 20), (Rgb{255, 217, 217}));
    EXPECT_EQ(beamColour(196, 200, 20), (Rgb{255, 255, 255}));
    uint16_t percent = 0;
    ASSERT_TRUE(radiusPercent(299, 300, percent));
    EXPECT_EQ(percent, 99u); // 99.67 %
}

TEST(ToleranceBand, IsThePipeRadiusLessAndPlusTheErrorRate)
{
    FrameHeader h;
    h.pipeRadius = 400;
    h.errorRate = 10;
    h.detectRadius = 1000;
    const ToleranceBand band = toleranceBand(h);
    EXPECT_EQ(band.inner, 90);
    EXPECT_EQ(band.outer, 110);
    h.detectRadius = 0;
    EXPECT_EQ(toleranceBand(h).outer, 0);
}

TEST(ToleranceBand, TheErrorShareIsWholeMillimetres)
{
    // 454 * 15 / 100 = 68.1, cut to 68 mm: inner (454 - 68) / 4 = 96.5 and
    // outer (454 + 68) / 4 = 130.5, both rounded up. With 68.1 mm the
    // inner edge would be 96.475, rounded down to 96.
    FrameHeader h;
    h.pipeRadius = 454;
    h.errorRate = 15;
    h.detectRadius = 1000;
    const ToleranceBand band = toleranceBand(h);
    EXPECT_EQ(band.inner, 97);
    EXPECT_EQ(band.outer, 131);
}

TEST(ToleranceBand, AbsurdHeadersNeitherOverflowNorLeaveTheIntRange)
{
    // e = 65535 * 65535 / 100 = 42948362 mm: the product needs 64 bits.
    // (65535 -+ e) * 250 / 1000 + 0.5, truncated towards zero.
    FrameHeader h;
    h.pipeRadius = 65535;
    h.errorRate = 65535;
    h.detectRadius = 1000;
    ToleranceBand band = toleranceBand(h);
    EXPECT_EQ(band.inner, -10720706);
    EXPECT_EQ(band.outer, 10753474);
    // At a detection radius of 1 mm the band is some 1e10 pixels: held to
    // 2^24 either way.
    h.detectRadius = 1;
    band = toleranceBand(h);
    EXPECT_EQ(band.inner, -16777216);
    EXPECT_EQ(band.outer, 16777216);
    // e = 32767: inner 32768 * 250 = 8192000, outer 98302 * 250 held.
    h.errorRate = 50;
    band = toleranceBand(h);
    EXPECT_EQ(band.inner, 8192000);
    EXPECT_EQ(band.outer, 16777216);
}

TEST(DeviationMap, ColoursEveryBeamOfEveryFrame)
{
    // Frame f: beams at 100 % except beam 7 at 90 % (blue) and 110 % (red).
    const DerivedFrames frames = survey(
        3, 100, 20, [](int f, int b) -> uint32_t { return b == 7 ? (f == 0 ? 90 : 110) : 100; });
    const DeviationMap map(frames.radiusProfiles()); // 3 rows: not smoothed
    EXPECT_EQ(map.rows(), 3);
    EXPECT_EQ(map.pixel(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(map.pixel(7, 0), deviationColour(90, 20));
    EXPECT_EQ(map.pixel(7, 2), deviationColour(110, 20));

    const DibBlock block = map.mapBlock();
    EXPECT_EQ(block.width(), 400);
    EXPECT_EQ(block.height(), 3);
    EXPECT_EQ(block.stride(), 1200u);
    EXPECT_EQ(block.row(0)[7 * 3 + 0], deviationColour(90, 20).blue); // frame 0 first
    EXPECT_EQ(block.row(2)[7 * 3 + 2], 255);
}

TEST(DeviationMap, SmoothsOnlyAwayFromTheBorder)
{
    // One black frame row (pipe radius 0) in white frames: the smoothing
    // spreads it to the rows above and below, but not on the border columns.
    const int rows = 9;
    DerivedFrames frames = survey(rows, 100, 10, [](int, int) -> uint32_t { return 100; });
    FrameAnalysis black;
    black.radii.fill(100);
    black.radii[400] = 0;
    frames.store(4, FrameHeader{}, black);
    const DeviationMap map(frames.radiusProfiles());
    // The black row: itself and its four neighbours along the row are black,
    // the four rows above and below are white.
    EXPECT_EQ(map.pixel(200, 4).red, (4 * 255) / 13);
    // A neighbouring row: 5 * 255 + the black row + 3 white rows + 4 white columns.
    EXPECT_EQ(map.pixel(200, 5).red, (12 * 255) / 13);
    EXPECT_EQ(map.pixel(200, 3).red, (12 * 255) / 13);
    EXPECT_EQ(map.pixel(200, 6).red, 255); // rows 6..8 are the border: kept
    EXPECT_EQ(map.pixel(2, 4).red, 0);     // border column: kept
    EXPECT_EQ(map.pixel(397, 4).red, 0);

    const DerivedFrames few = survey(6, 0, 10, [](int, int) -> uint32_t { return 1; });
    const DeviationMap small(few.radiusProfiles());
    EXPECT_EQ(small.pixel(200, 3), (Rgb{0, 0, 0})); // fewer than 7 rows: as coloured
}
