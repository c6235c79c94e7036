#include "core/data/AnimationFile.h"

#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// An animation whose frame i has cable length i and every sample i + 1.
std::vector<uint8_t> makeAnimation(int frames, size_t trailingBytes = 0)
{
    auto header = AnimationFileHeader::newAnimation();
    header.setPlace("place");
    std::vector<uint8_t> bytes(header.bytes().begin(), header.bytes().end());
    for (int i = 0; i < frames; ++i) {
        FrameHeader h;
        h.signature = FrameHeader::Signature;
        h.cableLength = static_cast<float>(i);
        h.detectRadius = 1000;
        const auto hb = h.encoded();
        bytes.insert(bytes.end(), hb.begin(), hb.end());
        bytes.insert(bytes.end(), SampleCount, static_cast<uint8_t>(i + 1));
    }
    bytes.insert(bytes.end(), trailingBytes, 0xEE);
    return bytes;
}

class AnimationFileTest : public ::testing::Test
{
protected:
    void write(const std::vector<uint8_t> &bytes)
    {
        writeFileBytes(path, bytes);
        ASSERT_TRUE(file.open(path));
    }

    TempDir dir;
    std::string path = dir.file("survey.Imv");
    AnimationFile file;
    RecordingMessageSink messages;
    RecordingProgressSink progress;
};

} // namespace

TEST(FrameCount, FollowsTheSizeRule)
{
    EXPECT_FALSE(frameCountForSize(0).has_value());
    EXPECT_FALSE(frameCountForSize(1000).has_value());
    EXPECT_FALSE(frameCountForSize(1024).has_value()); // malformed, not empty
    EXPECT_EQ(frameCountForSize(1024 + 100511), 0);
    EXPECT_EQ(frameCountForSize(1024 + 100512), 1);
    EXPECT_EQ(frameCountForSize(1024 + 2 * 100512 + 7), 2);
    EXPECT_EQ(frameOffset(3), 1024u + 3u * 100512u);
}

TEST_F(AnimationFileTest, ReadsWholeRecordsHeadersOrSamples)
{
    write(makeAnimation(3));
    auto record = std::make_unique<FrameRecord>();
    ASSERT_TRUE(file.readFrame(2, *record));
    EXPECT_EQ(record->header.cableLength, 2.0f);
    EXPECT_EQ(record->samples.front(), 3);
    EXPECT_EQ(record->samples.back(), 3);

    FrameHeader header;
    ASSERT_TRUE(file.readFrameHeader(1, header));
    EXPECT_EQ(header.cableLength, 1.0f);

    std::vector<uint8_t> samples(SampleCount);
    ASSERT_TRUE(file.readFrame(0, nullptr, samples.data(), samples.size()));
    EXPECT_EQ(samples[99999], 1);
}

TEST_F(AnimationFileTest, ReadingPastTheEndOrABadSignatureFails)
{
    auto bytes = makeAnimation(2, 100);
    le::writeU16(&bytes[frameOffset(1)], 72); // samples of frame 1 stay intact
    write(bytes);
    auto record = std::make_unique<FrameRecord>();
    EXPECT_TRUE(file.readFrame(0, *record));
    EXPECT_FALSE(file.readFrame(1, *record));
    EXPECT_FALSE(file.readFrame(2, *record)); // only the trailing 100 bytes
    EXPECT_FALSE(file.readFrame(-1, *record));
    FrameHeader header;
    EXPECT_FALSE(file.readFrameHeader(1, header));
}

TEST_F(AnimationFileTest, WritingAHeaderChangesOnlyItsBytes)
{
    const auto before = makeAnimation(3, 5);
    write(before);
    FrameHeader header;
    ASSERT_TRUE(file.readFrameHeader(1, header));
    header.defectFrame = 1;
    header.setTitle("changed");
    ASSERT_TRUE(file.writeFrameHeader(1, header, messages));
    const auto after = readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const auto encoded = header.encoded();
    for (size_t i = 0; i < after.size(); ++i) {
        const bool inHeader = i >= frameOffset(1) && i < frameOffset(1) + FrameHeader::Size;
        ASSERT_EQ(after[i], inHeader ? encoded[i - frameOffset(1)] : before[i]) << "byte " << i;
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AnimationFileTest, FailedHeaderWriteTellsTheUser)
{
    write(makeAnimation(1));
    AnimationFile readOnly;
    ASSERT_TRUE(readOnly.open(path, PosixFile::Mode::Read));
    FrameHeader header;
    EXPECT_FALSE(readOnly.writeFrameHeader(0, header, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
}

TEST_F(AnimationFileTest, FileHeaderIsWrittenInPlace)
{
    write(makeAnimation(1));
    auto header = AnimationFileHeader::newAnimation();
    header.setEndWell("W7");
    ASSERT_TRUE(file.writeFileHeader(header));
    const auto after = readFileBytes(path);
    EXPECT_EQ(after.size(), 1024u + 100512u);
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 1024),
              std::vector<uint8_t>(header.bytes().begin(), header.bytes().end()));
}

TEST_F(AnimationFileTest, CopySkipsOneFrameAndDropsTrailingBytes)
{
    const auto source = makeAnimation(3, 10);
    write(source);
    const auto header = AnimationFileHeader::newAnimation();
    const std::string copy = dir.file("copy.Imv");
    ASSERT_TRUE(file.copyAnimation(copy, header, 3, 1, &progress, messages));
    const auto out = readFileBytes(copy);
    ASSERT_EQ(out.size(), 1024u + 2 * 100512u);
    EXPECT_TRUE(std::equal(out.begin() + 1024, out.begin() + 1024 + 100512,
                           source.begin() + static_cast<ptrdiff_t>(frameOffset(0))));
    EXPECT_TRUE(std::equal(out.begin() + 1024 + 100512, out.end(),
                           source.begin() + static_cast<ptrdiff_t>(frameOffset(2))));
    const std::vector<std::pair<int, int>> expected = {{0, 3}, {0, 3}, {1, 3},
                                                       {2, 3}, {1, 1}, {-1, -1}};
    EXPECT_EQ(progress.posts, expected);
}

TEST_F(AnimationFileTest, CopyWithoutAValidSkipIndexCopiesEverything)
{
    const auto source = makeAnimation(2);
    write(source);
    for (int skip : {-1, 2, 99}) {
        const std::string copy = dir.file("all.Imv");
        ASSERT_TRUE(file.copyAnimation(copy, AnimationFileHeader::newAnimation(), 2, skip, nullptr,
                                       messages));
        EXPECT_EQ(readFileBytes(copy).size(), source.size());
    }
}

TEST_F(AnimationFileTest, CopyOfTheOnlyFrameSkippedLeavesTheHeaderAlone)
{
    write(makeAnimation(1));
    const std::string copy = dir.file("empty.Imv");
    ASSERT_TRUE(
        file.copyAnimation(copy, AnimationFileHeader::newAnimation(), 1, 0, nullptr, messages));
    EXPECT_EQ(readFileBytes(copy).size(), 1024u);
}

TEST_F(AnimationFileTest, CopyFailuresSayWhatWentWrong)
{
    auto bytes = makeAnimation(3);
    le::writeU16(&bytes[frameOffset(2)], 0);
    write(bytes);

    EXPECT_FALSE(file.copyAnimation(dir.file("no/such/folder.Imv"),
                                    AnimationFileHeader::newAnimation(), 3, -1, &progress,
                                    messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::CreateFileFailed});
    EXPECT_EQ(progress.posts.back(), std::make_pair(-1, -1));

    messages.messages.clear();
    progress.posts.clear();
    const std::string copy = dir.file("partial.Imv");
    EXPECT_FALSE(
        file.copyAnimation(copy, AnimationFileHeader::newAnimation(), 3, -1, &progress, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::ReadFileDataError});
    // The frames copied so far would pass for a shorter survey: nothing is
    // left, and no completion is reported.
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"survey.Imv"});
    const std::vector<std::pair<int, int>> expected = {{0, 3}, {0, 3}, {1, 3}, {-1, -1}};
    EXPECT_EQ(progress.posts, expected);
}
