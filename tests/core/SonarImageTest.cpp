#include "core/display/SonarImage.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelMapTable.h"
#include "core/display/RollShift.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using namespace dorvane;

namespace {

std::vector<uint8_t> randomSamples(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> samples(SampleCount);
    for (auto &s : samples)
        s = static_cast<uint8_t>(random());
    // Plenty of saturated echoes, which must never draw as background.
    for (size_t i = 0; i < samples.size(); i += 37)
        samples[i] = 255;
    return samples;
}

std::vector<uint8_t> referencePicture(const std::vector<uint8_t> &samples, float roll)
{
    std::vector<uint8_t> pixels(SonarImage::PixelCount, SonarImage::BackgroundLevel);
    renderFrameCellByCell(pixels.data(), samples.data(), roll);
    return pixels;
}

// A roll (in degrees) that turns the picture by the given number of beams.
float rollFor(int shift)
{
    const float nudge = shift < 0 ? -0.05f : (shift > 0 ? 0.05f : 0.0f);
    return std::clamp(static_cast<float>(shift) * 0.9f + nudge, -45.0f, 45.0f);
}

// The level of a pixel that cell (beam, sample) paints and no later cell
// paints over.
uint8_t levelAt(const SonarImage &image, int beam, int sample)
{
    const PixelMapTable &map = PixelMapTable::instance();
    const int cell = beam * SamplesPerBeam + sample;
    for (uint32_t code : map.cell(cell)) {
        bool paintedLater = false;
        for (int later = cell + 1; later < SampleCount && !paintedLater; ++later)
            for (uint32_t other : map.cell(later))
                paintedLater = paintedLater || other == code;
        if (!paintedLater)
            return image.pixel(pixelCodeX(code), pixelCodeY(code));
    }
    ADD_FAILURE() << "cell " << cell << " has no pixel of its own";
    return 0;
}

} // namespace

TEST(RollShift, TruncatesTheSinglePrecisionProduct)
{
    EXPECT_EQ(rollShift(45.0f), 50); // 50.0000024
    EXPECT_EQ(rollShift(-45.0f), -50);
    EXPECT_EQ(rollShift(45.5f), 0); // out of range: not turned
    EXPECT_EQ(rollShift(-45.01f), 0);
    EXPECT_EQ(rollShift(-1.0f), -1);
    // -0.9f * 1.1111112f rounds to -1.0f in single precision.
    EXPECT_EQ(rollShift(-0.9f), -1);
    EXPECT_EQ(rollShift(0.89f), 0);
    EXPECT_EQ(rollShift(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(rollShift(std::numeric_limits<float>::infinity()), 0);
    for (int shift = -50; shift <= 50; ++shift)
        EXPECT_EQ(rollShift(rollFor(shift)), shift);
}

TEST(SonarImage, MatchesTheCellByCellPassForEveryRollShift)
{
    const auto samples = randomSamples(7);
    SonarImage image;
    for (int shift = -50; shift <= 50; ++shift) {
        // No reset between frames: a render must not depend on the last one.
        image.renderFrame(samples.data(), rollFor(shift));
        const auto expected = referencePicture(samples, rollFor(shift));
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), image.pixels()))
            << "shift " << shift;
    }
}

TEST(SonarImage, StartsBlankWithTheColourScale)
{
    SonarImage image;
    EXPECT_FALSE(image.isValid());
    EXPECT_EQ(image.palette(), buildPalette(0, 255, 256, false));
    EXPECT_TRUE(std::all_of(image.pixels(), image.pixels() + SonarImage::PixelCount,
                            [](uint8_t p) { return p == 255; }));
}

TEST(SonarImage, ResetClearsPixelsButKeepsThePalette)
{
    SonarImage image;
    image.setPalette(0, 255, 256, true);
    const auto samples = randomSamples(3);
    image.renderFrame(samples.data(), 0.0f);
    EXPECT_TRUE(image.isValid());
    image.reset();
    EXPECT_FALSE(image.isValid());
    EXPECT_EQ(image.pixel(250, 250), 255);
    EXPECT_EQ(image.palette(), greyRamp());
}

TEST(SonarImage, SaturatedSamplesDrawAsTheTopEchoLevel)
{
    std::vector<uint8_t> samples(SampleCount, 255);
    SonarImage image;
    image.renderFrame(samples.data(), 0.0f);
    EXPECT_EQ(image.pixel(250, 250), 254);
    EXPECT_EQ(image.pixel(250, 499), 254);
    EXPECT_EQ(image.pixel(400, 300), 254);
    // Corners and the outer ring are never painted.
    EXPECT_EQ(image.pixel(0, 0), 255);
    EXPECT_EQ(image.pixel(499, 499), 255);
    EXPECT_EQ(image.pixel(250, 0), 255);
    int background = 0;
    for (int y = 0; y < PictureSize; ++y)
        for (int x = 0; x < PictureSize; ++x)
            background += image.pixel(x, y) == 255;
    EXPECT_EQ(background, PictureSize * PictureSize - 194677);
}

TEST(SonarImage, RollTurnsThePictureClockwise)
{
    std::vector<uint8_t> samples(SampleCount, 0);
    std::fill_n(samples.begin() + 1 * SamplesPerBeam, SamplesPerBeam, 99); // beam 1
    SonarImage image;
    image.renderFrame(samples.data(), -1.0f);
    EXPECT_EQ(levelAt(image, 0, 230), 99); // display beam 0 shows source beam 1
    image.renderFrame(samples.data(), 45.0f);
    EXPECT_EQ(levelAt(image, 51, 230), 99); // shift 50
    EXPECT_EQ(levelAt(image, 0, 230), 0);
}

TEST(SonarImage, TestPatternIsAWheelGrowingClockwise)
{
    SonarImage image;
    image.renderTestPattern();
    EXPECT_TRUE(image.isValid());
    EXPECT_EQ(levelAt(image, 0, 200), 0);
    EXPECT_EQ(levelAt(image, 100, 200), 62);
    EXPECT_EQ(levelAt(image, 200, 200), 125);
    EXPECT_EQ(levelAt(image, 399, 200), 249);
}
