#include "core/acquire/ImgImport.h"

#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class ImgImport : public ::testing::Test
{
protected:
    // Three IMG files told apart by their cable length and sample bytes.
    void SetUp() override
    {
        writeFileBytes(dir.file("a.img"), makeImgFile(187, 1.5f, 11));
        writeFileBytes(dir.file("b.img"), makeImgFile(250, 0.5f, 22));
        writeFileBytes(dir.file("c.img"), makeImgFile(1000, 9.0f, 33));
    }

    TempDir dir;
    RecordingMessageSink messages;
    RecordingProgressSink progress;
    const std::string output = dir.file("out.Imv");
};

} // namespace

TEST_F(ImgImport, WritesTheFramesInListOrder)
{
    AnimationFileHeader fileHeader;
    fileHeader.setPlace("Riverside");
    int failed = 7;
    ASSERT_TRUE(importImgFiles({dir.file("c.img"), dir.file("a.img"), dir.file("b.img")},
                               fileHeader, output, &progress, messages, &failed));
    EXPECT_EQ(failed, -1);
    EXPECT_TRUE(messages.messages.empty());

    const auto bytes = readFileBytes(output);
    ASSERT_EQ(bytes.size(), 1024u + 3u * 100512u);
    EXPECT_EQ(bytes[0], 'I');
    EXPECT_EQ(bytes[1], 'V');
    // The place is kept, at offset 8.
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&bytes[8]), 9), "Riverside");
    // Frame i: cable length at 24, detection radius at 16, pipe radius 70 %
    // of it at 8, samples after the 512 header bytes.
    const float cables[] = {9.0f, 1.5f, 0.5f};
    const uint16_t detect[] = {1000, 187, 250};
    const uint16_t pipe[] = {700, 130, 175};
    const uint8_t fill[] = {33, 11, 22};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const size_t at = 1024 + i * 100512;
        EXPECT_EQ(le::readU16(&bytes[at]), 73);
        EXPECT_EQ(le::readF32(&bytes[at + 24]), cables[i]);
        EXPECT_EQ(le::readU16(&bytes[at + 16]), detect[i]);
        EXPECT_EQ(le::readU16(&bytes[at + 8]), pipe[i]);
        EXPECT_EQ(le::readU16(&bytes[at + 12]), 20);
        EXPECT_EQ(bytes[at + 512], fill[i]);
        EXPECT_EQ(bytes[at + 100511], fill[i]);
    }
    const std::vector<std::pair<int, int>> posts{{0, 3}, {0, 3}, {1, 3}, {2, 3}, {1, 1}, {-1, -1}};
    EXPECT_EQ(progress.posts, posts);
}

TEST_F(ImgImport, AnAnimationInTheListStopsItAndLeavesNothing)
{
    writeSurvey(dir.file("survey.Imv"), 2);
    int failed = -1;
    EXPECT_FALSE(importImgFiles({dir.file("a.img"), dir.file("survey.Imv"), dir.file("b.img")},
                                AnimationFileHeader(), output, &progress, messages, &failed));
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::ImgFileError});
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"a.img", "b.img", "c.img", "survey.Imv"}));
    const std::vector<std::pair<int, int>> posts{{0, 3}, {0, 3}, {1, 3}, {-1, -1}};
    EXPECT_EQ(progress.posts, posts);
}

TEST_F(ImgImport, AFailedImportLeavesAFormerFileAsItWas)
{
    writeFileBytes(output, {1, 2, 3});
    int failed = -1;
    EXPECT_FALSE(importImgFiles({dir.file("a.img"), dir.file("missing.img")}, AnimationFileHeader(),
                                output, nullptr, messages, &failed));
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(readFileBytes(output), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ImgImport, AFullDiskIsToldAndLeavesNothing)
{
    int failed = 7;
    {
        FullDisk disk(1024 + 100512 + 5000);
        EXPECT_FALSE(importImgFiles({dir.file("a.img"), dir.file("b.img")}, AnimationFileHeader(),
                                    output, nullptr, messages, &failed));
    }
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ImgImport, AnOutputThatCannotBeMadeIsTold)
{
    int failed = 7;
    EXPECT_FALSE(importImgFiles({dir.file("a.img")}, AnimationFileHeader(),
                                dir.file("missing/out.Imv"), nullptr, messages, &failed));
    EXPECT_EQ(failed, -1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
}
