#include "core/document/FrameStreamDeriver.h"

#include "core/base/ByteOrder.h"
#include "core/base/ProgressSink.h"
#include "core/data/AnimationFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class FrameStreamDeriverTest : public ::testing::Test
{
protected:
    // Derives the survey at path, growing the arrays growth frames at a time.
    int derive(const std::string &path, int frameCount, int growth)
    {
        AnimationFile file;
        EXPECT_TRUE(file.open(path, PosixFile::Mode::Read));
        ProgressScope scope(&progress, frameCount);
        return FrameStreamDeriver::derive(file.file(), frameCount, derived, *last, scope, growth);
    }

    TempDir dir;
    RecordingProgressSink progress;
    DerivedFrames derived;
    std::unique_ptr<FrameRecord> last = std::make_unique<FrameRecord>();
};

} // namespace

TEST_F(FrameStreamDeriverTest, ArraysGrowAsTheFramesAreRead)
{
    // 37 frames in chunks of 4, the arrays growing 8 frames at a time (5 is
    // taken as 8, 1 as one chunk) or all at once: with the small growths the
    // helper thread waits for room more than once.
    const std::string path = dir.file("s.Imv");
    writeSurvey(path, 37);
    AnimationFile file;
    ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
    auto frame = std::make_unique<FrameRecord>();
    for (const int growth : {8, 5, 1, 4096}) {
        ASSERT_EQ(derive(path, 37, growth), 37) << growth;
        ASSERT_EQ(derived.size(), 37);
        for (int i = 0; i < 37; ++i) {
            ASSERT_TRUE(file.readFrame(i, *frame));
            const FrameAnalysis a = analyseFrame(*frame, pipeCentre(frame->header));
            ASSERT_EQ(derived.peakSamples(i), a.peakSamples) << growth << " " << i;
            ASSERT_EQ(derived.sedimentDepth()[static_cast<size_t>(i)], a.sedimentDepth) << i;
            ASSERT_EQ(derived.cableLengths()[static_cast<size_t>(i)], frame->header.cableLength);
        }
        EXPECT_EQ(last->samples, frame->samples);
    }
}

TEST_F(FrameStreamDeriverTest, StopsAtTheFirstBadFrameBeyondAGrowth)
{
    // Frame 21 lacks its signature: read by the helper (chunk 5), after two
    // growths of 8 frames.
    const std::string path = dir.file("bad.Imv");
    writeSurvey(path, 37);
    auto bytes = readFileBytes(path);
    le::writeU16(&bytes[frameOffset(21)], 0);
    writeFileBytes(path, bytes);
    EXPECT_EQ(derive(path, 37, 8), 21);
    EXPECT_GE(derived.size(), 21);
    // (0, 37), frames 0..20, the end.
    ASSERT_EQ(progress.posts.size(), 23u);
    EXPECT_EQ(progress.posts[21], std::make_pair(20, 37));
}

TEST_F(FrameStreamDeriverTest, ASizeThatPromisesMoreFramesThanThereAreStopsAtTheEnd)
{
    // The file holds 6 frames; the count says a million.
    const std::string path = dir.file("short.Imv");
    writeSurvey(path, 6);
    EXPECT_EQ(derive(path, 1000000, 8), 6);
    EXPECT_LE(derived.size(), 8);
}
