#include "core/acquire/SurveySimulator.h"

#include "core/base/GbkText.h"
#include "core/display/PixelMapTable.h"

#include <gtest/gtest.h>
#include <memory>

using namespace dorvane;

namespace {
// Index of the strongest sample beyond the probe's ringing.
int strongestSample(const FrameRecord &frame, int beam)
{
    const uint8_t *b = frame.samples.data() + beam * SamplesPerBeam;
    return static_cast<int>(std::max_element(b + 50, b + 245) - b);
}
} // namespace

TEST(SurveySimulator, SameSeedSameSurvey)
{
    SurveySimulator::Options options;
    options.seed = 5;
    const SurveySimulator a(options), b(options);
    options.seed = 6;
    const SurveySimulator c(options);
    auto fa = std::make_unique<FrameRecord>(), fb = std::make_unique<FrameRecord>(),
         fc = std::make_unique<FrameRecord>();
    a.makeFrame(17, *fa);
    b.makeFrame(17, *fb);
    c.makeFrame(17, *fc);
    EXPECT_EQ(fa->header.encoded(), fb->header.encoded());
    EXPECT_EQ(fa->samples, fb->samples);
    EXPECT_NE(fa->samples, fc->samples);
    EXPECT_EQ(a.fileHeader().bytes(), b.fileHeader().bytes());
}

TEST(SurveySimulator, FramesLookLikeAPipeSurvey)
{
    SurveySimulator::Options options;
    options.seed = 3;
    options.detectRadius = 1000;
    options.pipeRadius = 600; // the wall at 150 samples
    const SurveySimulator sim(options);
    auto frame = std::make_unique<FrameRecord>();

    int clean = 0, silted = 0;
    float lastCable = -1;
    for (int i = 0; i < 600; ++i) {
        sim.makeFrame(i, *frame);
        const FrameHeader &h = frame->header;
        ASSERT_EQ(h.signature, FrameHeader::Signature);
        EXPECT_EQ(h.detectRadius, 1000);
        EXPECT_EQ(h.pipeRadius, 600);
        EXPECT_GT(h.cableLength, lastCable);
        lastCable = h.cableLength;
        EXPECT_LT(std::abs(h.roll), 10.0f);
        EXPECT_LT(std::abs(h.tilt), 10.0f);
        (sim.sedimentDepthMm(i) > 0 ? silted : clean)++;
        if (i % 50 == 0) {
            // The wall echo stands at the pipe radius on the upper beams
            // (allowing for the roll and the probe's offset).
            EXPECT_NEAR(strongestSample(*frame, 0), 150, 6) << "frame " << i;
            EXPECT_NEAR(strongestSample(*frame, 100), 150, 6) << "frame " << i;
        }
    }
    EXPECT_GT(sim.cableLength(0), 0.1f);
    EXPECT_NEAR(sim.cableLength(100) - sim.cableLength(0), 10.0f, 0.05f);
    EXPECT_GT(clean, 30);
    EXPECT_GT(silted, 30);

    // Where sediment lies the bottom echo rises towards the probe.
    int deepest = 0;
    for (int i = 0; i < 600; ++i)
        if (sim.sedimentDepthMm(i) > sim.sedimentDepthMm(deepest))
            deepest = i;
    ASSERT_GT(sim.sedimentDepthMm(deepest), 60.0);
    sim.makeFrame(deepest, *frame);
    const double expected = (600 - sim.sedimentDepthMm(deepest)) / 4.0;
    EXPECT_NEAR(strongestSample(*frame, 200), expected, 8);
}

TEST(SurveySimulator, FileHeaderNamesThePlaceAndManholes)
{
    const SurveySimulator sim(SurveySimulator::Options{});
    const AnimationFileHeader h = sim.fileHeader();
    EXPECT_TRUE(h.isAnimation());
    EXPECT_NE(gbkToUtf8(h.place()).find("滨江路"), std::string::npos);
    EXPECT_FALSE(h.startWell().empty());
    EXPECT_FALSE(h.endWell().empty());
}
