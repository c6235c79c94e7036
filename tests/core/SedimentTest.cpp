#include "core/display/Sediment.h"

#include "core/display/PixelCode.h"
#include "core/display/PixelMapTable.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace dorvane;

namespace {

// A frame whose every beam has one echo at the given sample.
std::unique_ptr<FrameRecord> frameWithPeaks(int sample, uint16_t pipeRadius = 500,
                                            uint16_t detectRadius = 1000)
{
    auto f = std::make_unique<FrameRecord>();
    f->header.signature = FrameHeader::Signature;
    f->header.pipeRadius = pipeRadius;
    f->header.detectRadius = detectRadius;
    f->header.errorRate = 12;
    for (int b = 0; b < BeamCount; ++b)
        f->samples[static_cast<size_t>(b * SamplesPerBeam + sample)] = 200;
    return f;
}

void movePeak(FrameRecord &f, int beam, int sample)
{
    std::fill_n(f.samples.begin() + beam * SamplesPerBeam, SamplesPerBeam, uint8_t{0});
    f.samples[static_cast<size_t>(beam * SamplesPerBeam + sample)] = 200;
}

int linearDepth(int permille, int pipeRadius)
{
    if (pipeRadius <= 0)
        return 0;
    for (int h = 0; h < pipeRadius; ++h)
        if (segmentShare(h, pipeRadius) * 1000.0 >= permille)
            return h;
    return pipeRadius;
}

} // namespace

TEST(EchoPeak, IsTheFirstLargestSampleInsideTheWindow)
{
    std::array<uint8_t, SamplesPerBeam> beam{};
    EXPECT_EQ(echoPeak(beam.data()), 0); // no echo at all

    beam[49] = 255;  // before the window
    beam[245] = 255; // after it
    EXPECT_EQ(echoPeak(beam.data()), 0);
    beam[50] = 1;
    EXPECT_EQ(echoPeak(beam.data()), 50);
    beam[244] = 9;
    EXPECT_EQ(echoPeak(beam.data()), 244);
    beam[243] = 9; // a tie: the first one wins
    EXPECT_EQ(echoPeak(beam.data()), 243);
    beam[100] = 255;
    EXPECT_EQ(echoPeak(beam.data()), 100);
}

TEST(EchoPeak, AgreesWithTheSampleBySampleSearch)
{
    std::mt19937 random(5);
    std::array<uint8_t, SamplesPerBeam> beam{};
    for (int round = 0; round < 20000; ++round) {
        const int spread = 1 + round % 40; // few values: many ties
        for (auto &s : beam)
            s = static_cast<uint8_t>(random() % static_cast<unsigned>(spread));
        int expected = 0;
        uint8_t best = 0;
        for (int s = 50; s <= 244; ++s)
            if (beam[static_cast<size_t>(s)] > best) {
                best = beam[static_cast<size_t>(s)];
                expected = s;
            }
        ASSERT_EQ(echoPeak(beam.data()), expected) << "round " << round;
    }
}

TEST(Sediment, NoEchoesMeansAHalfFullPipe)
{
    // r = 125 pixels; every lower beam measures 0, so S = 0 and P = 500. No
    // segment below the full half reaches half the area.
    auto f = std::make_unique<FrameRecord>();
    f->header.pipeRadius = 500;
    f->header.detectRadius = 1000;
    const SedimentResult r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.radii[400], 125u);
    EXPECT_EQ(r.sedimentPermille, 500);
    EXPECT_EQ(r.sedimentDepth, 500);
    EXPECT_EQ(r.radii[0], 0u);
}

TEST(Sediment, ProfileOnOrOutsideTheCircleHasNone)
{
    // On the axis beams the peak's pixel is exactly r from the centre; a
    // profile farther out than the circle everywhere has no deficit.
    auto f = frameWithPeaks(200);
    f->header.excludeSediment = 1; // no deficit: excluded or not, 0 and 0
    const SedimentResult r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.radii[100], 200u);
    EXPECT_EQ(r.radii[200], 200u);
    EXPECT_EQ(r.sedimentPermille, 0);
    EXPECT_EQ(r.sedimentDepth, 0);
    EXPECT_EQ(r.radii[401], 12u);
}

TEST(Sediment, ExcludedFrameWithADeficitIsMarked)
{
    auto f = frameWithPeaks(60);
    EXPECT_GT(computeSediment(*f, PictureCentre).sedimentPermille, 0);
    f->header.excludeSediment = 1;
    const SedimentResult r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.sedimentPermille, -1);
    EXPECT_EQ(r.sedimentDepth, -1);
}

TEST(Sediment, SharesFollowTheLowerHalfSum)
{
    // Peaks at 100 pixels in a pipe of r = 125: S < E. The figures below are
    // P = (E - S) * 1000 / 2E with S from the reported radii.
    auto f = frameWithPeaks(100);
    const SedimentResult r = computeSediment(*f, PictureCentre);
    int64_t s = 0;
    for (int b = 100; b <= 299; ++b)
        s += int64_t{r.radii[static_cast<size_t>(b)]} * r.radii[static_cast<size_t>(b)];
    const int64_t e = 200 * 125 * 125;
    EXPECT_EQ(r.sedimentPermille, static_cast<int>((e - s) * 1000 / (2 * e)));
    EXPECT_EQ(r.sedimentDepth, linearDepth(r.sedimentPermille, 500));
    EXPECT_GT(r.sedimentDepth, 0);
}

TEST(Sediment, OnlyBeamsOneHundredToTwoNinetyNineCount)
{
    auto base = frameWithPeaks(110);
    const SedimentResult reference = computeSediment(*base, PictureCentre);
    for (int beam : {0, 99, 300, 399}) {
        auto f = frameWithPeaks(110);
        movePeak(*f, beam, 240);
        const SedimentResult r = computeSediment(*f, PictureCentre);
        EXPECT_EQ(r.sedimentPermille, reference.sedimentPermille) << "beam " << beam;
        EXPECT_NE(r.radii[static_cast<size_t>(beam)], reference.radii[static_cast<size_t>(beam)]);
        EXPECT_NE(r.profilePoints, reference.profilePoints);
    }
    for (int beam : {100, 299}) {
        auto f = frameWithPeaks(110);
        movePeak(*f, beam, 240);
        EXPECT_LT(computeSediment(*f, PictureCentre).sedimentPermille, reference.sedimentPermille)
            << "beam " << beam;
    }
}

TEST(Sediment, RadiiAreMeasuredFromTheCircleCentre)
{
    auto f = frameWithPeaks(100);
    // Screen y counts downwards: this centre lies 50 pixels below the probe.
    const SedimentResult r = computeSediment(*f, ScreenPoint{250, 300});
    EXPECT_EQ(r.radii[0], 150u);   // straight up
    EXPECT_EQ(r.radii[200], 50u);  // straight down
    EXPECT_EQ(r.radii[100], 111u); // right: sqrt(100^2 + 50^2) = 111.8
}

TEST(Sediment, ProfilePointsAreThePeakCells)
{
    auto f = frameWithPeaks(80);
    movePeak(*f, 7, 230);
    const SedimentResult r = computeSediment(*f, PictureCentre);
    std::vector<uint32_t> expected;
    for (int b = 0; b < BeamCount; ++b) {
        const auto cell = pixelMap(b * SamplesPerBeam + (b == 7 ? 230 : 80));
        expected.insert(expected.end(), cell.begin(), cell.end());
    }
    EXPECT_EQ(r.profilePoints, expected);
}

TEST(Sediment, AbsurdHeadersNeitherOverflowNorDivideByZero)
{
    // r = 65535 * 250 / 125 = 131070 pixels: 200 r^2 needs 64 bits.
    auto f = frameWithPeaks(100, 65535, 125);
    SedimentResult r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.radii[400], 131070u);
    EXPECT_EQ(r.sedimentPermille, 499);
    EXPECT_GT(r.sedimentDepth, 60000);

    // r = 65535 * 250 = 16383750 pixels: the deficit is all but the whole
    // 200 r^2, and times 1000 it no longer fits 64 bits. The share just
    // under half the pipe is 499, and its depth the smallest h with
    // 1/2 - 2 (r - h) / (pi r) >= 0.499 (mm): r - h <= 102.9, h = 65433.
    f->header.detectRadius = 1;
    r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.radii[400], 16383750u);
    EXPECT_EQ(r.sedimentPermille, 499);
    EXPECT_EQ(r.sedimentDepth, 65433);

    f->header.detectRadius = 0;
    r = computeSediment(*f, PictureCentre);
    EXPECT_EQ(r.radii[400], 0u);
    EXPECT_EQ(r.sedimentPermille, 0);
    EXPECT_EQ(r.sedimentDepth, 0);
}

TEST(SedimentDepth, IsTheSmallestCoveringHeight)
{
    for (int radius : {1, 2, 3, 50, 87, 500, 999, 6000}) {
        for (int permille = 0; permille <= 500; permille += (radius > 1000 ? 7 : 1))
            ASSERT_EQ(sedimentDepthFor(permille, radius), linearDepth(permille, radius))
                << "P " << permille << " R " << radius;
    }
    EXPECT_EQ(sedimentDepthFor(0, 500), 0);
    EXPECT_EQ(sedimentDepthFor(500, 500), 500); // only the full half would do
    EXPECT_EQ(sedimentDepthFor(250, 0), 0);
    EXPECT_EQ(segmentShare(0, 500), 0.0);
    EXPECT_NEAR(segmentShare(500, 500), 0.5, 1e-7);
    EXPECT_NEAR(segmentShare(1000, 500), 1.0, 1e-6);
}

TEST(SedimentDepth, StepsInSinglePrecision)
{
    // Pipe 1061 mm, 491 per mille. At h = 1046 (r - h = 15) the share is
    // 1/2 - (2 / pi) (15 / 1061) + (15 / 1061)^3 / (3 pi) = 491.00002 per
    // mille; pi r^2 in single precision (pi as 3.14159274) comes out a few
    // parts in 1e8 larger, enough to leave the share just under 491, so
    // the depth is 1047 mm where double precision gives 1046.
    EXPECT_LT(segmentShare(1046, 1061) * 1000.0, 491.0);
    EXPECT_GE(segmentShare(1047, 1061) * 1000.0, 491.0);
    EXPECT_EQ(sedimentDepthFor(491, 1061), 1047);
    // Pipe 1098 mm, 17 per mille: at h = 103 the share is 17.0000002 per
    // mille in double precision and just under 17 in single: 104, not 103.
    EXPECT_EQ(sedimentDepthFor(17, 1098), 104);
}
