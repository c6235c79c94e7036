#include "core/data/ImgFile.h"

#include "core/app/TextIds.h"
#include "core/base/PosixFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace dorvane;
using namespace dorvane::test;

TEST(ImgFile, MapsTheHeaderFieldsOntoAFrameHeader)
{
    TempDir dir;
    const std::string path = dir.file("frame.img");
    writeFileBytes(path, makeImgFile(1000, 3.25f, 77));
    auto record = std::make_unique<FrameRecord>();
    ASSERT_TRUE(readImgFrame(path, *record));
    const FrameHeader &h = record->header;
    EXPECT_EQ(h.signature, 73);
    EXPECT_EQ(h.detectRadius, 1000);
    EXPECT_EQ(h.pipeRadius, 700);
    EXPECT_EQ(h.errorRate, 20);
    EXPECT_EQ(h.cableLength, 3.25f);
    EXPECT_EQ(h.tilt, 12.5f);
    EXPECT_EQ(h.roll, -7.25f);
    EXPECT_EQ(h.circleX, 250);
    EXPECT_EQ(h.circleY, 250);
    EXPECT_EQ(h.circleOn, 0);
    EXPECT_EQ(h.rulerOn, 0);
    EXPECT_EQ(h.defectFrame + h.reportShot + h.excludeSediment, 0);
    // The IMG texts run on past the copied bytes; the copies end in zeros.
    EXPECT_EQ(h.pipeNameText(), std::string(27, 'P'));
    EXPECT_EQ(h.titleText(), std::string(28, 'T'));
    EXPECT_EQ(h.notesText(), std::string(188, 'N'));
    EXPECT_EQ(h.title[31], 0);
    EXPECT_EQ(record->samples.front(), 77);
    EXPECT_EQ(record->samples.back(), 77);
}

TEST(ImgFile, PipeRadiusIsSeventyPercentTruncated)
{
    TempDir dir;
    const std::string path = dir.file("small.img");
    writeFileBytes(path, makeImgFile(125, 0.0f, 0));
    auto record = std::make_unique<FrameRecord>();
    ASSERT_TRUE(readImgFrame(path, *record));
    EXPECT_EQ(record->header.pipeRadius, 87);
}

TEST(ImgFile, BadFilesFailAndClearTheRecord)
{
    TempDir dir;
    const std::string path = dir.file("bad.img");
    const auto good = makeImgFile(1000, 1.0f, 9);

    auto wrongMagic = good;
    wrongMagic[1] = 'V';
    const std::vector<std::vector<uint8_t>> bad = {
        {},
        std::vector<uint8_t>(good.begin(), good.begin() + 401), // short header
        std::vector<uint8_t>(good.begin(), good.begin() + 402), // no samples
        std::vector<uint8_t>(good.begin(), good.end() - 1),     // one sample short
        wrongMagic,
    };
    for (const auto &bytes : bad) {
        writeFileBytes(path, bytes);
        auto record = std::make_unique<FrameRecord>();
        record->samples.fill(5);
        record->header.pipeRadius = 5;
        EXPECT_FALSE(readImgFrame(path, *record)) << bytes.size() << " bytes";
        EXPECT_EQ(record->header.pipeRadius, 0);
        EXPECT_EQ(record->samples[1234], 0);
    }
    auto record = std::make_unique<FrameRecord>();
    EXPECT_FALSE(readImgFrame(dir.file("missing.img"), *record));
}

TEST(ImgFile, AppendWritesOneRecordOrTellsTheUser)
{
    TempDir dir;
    const std::string img = dir.file("frame.img");
    writeFileBytes(img, makeImgFile(2000, 8.0f, 200));
    PosixFile out;
    ASSERT_TRUE(out.open(dir.file("out.Imv"), PosixFile::Mode::Create));
    RecordingMessageSink messages;
    ASSERT_TRUE(appendImgFrame(img, out, messages));
    ASSERT_TRUE(appendImgFrame(img, out, messages));
    EXPECT_FALSE(appendImgFrame(dir.file("missing.img"), out, messages));
    out.close();
    EXPECT_EQ(messages.messages, std::vector<int>{text::ImgFileError});

    const auto bytes = readFileBytes(dir.file("out.Imv"));
    ASSERT_EQ(bytes.size(), 2 * FrameRecord::Size);
    std::array<uint8_t, FrameHeader::Size> header;
    std::copy_n(bytes.begin() + FrameRecord::Size, header.size(), header.begin());
    const FrameHeader h = FrameHeader::decode(header);
    EXPECT_EQ(h.detectRadius, 2000);
    EXPECT_EQ(h.pipeRadius, 1400);
    EXPECT_EQ(bytes.back(), 200);
}
