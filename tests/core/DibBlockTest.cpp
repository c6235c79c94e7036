#include "core/display/DibBlock.h"

#include "core/base/ByteOrder.h"
#include "core/display/SonarImage.h"
#include "core/export/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(DibBlock, ViewSizedTrueColourBlock)
{
    const DibBlock block(333, 333, 24);
    EXPECT_EQ(block.stride(), 1000u);
    EXPECT_EQ(block.size(), 333040u);
    const auto b = block.bytes();
    EXPECT_EQ(le::readU32(&b[0]), 40u);
    EXPECT_EQ(le::readI32(&b[4]), 333);
    EXPECT_EQ(le::readI32(&b[8]), 333);
    EXPECT_EQ(le::readU16(&b[12]), 1);
    EXPECT_EQ(le::readU16(&b[14]), 24);
    EXPECT_EQ(le::readU32(&b[16]), 0u);

    TempDir dir;
    ASSERT_TRUE(writeBmpFile(dir.file("view.bmp"), block));
    const auto file = readFileBytes(dir.file("view.bmp"));
    ASSERT_EQ(file.size(), 333054u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le::readU32(&file[2]), 333054u);
    EXPECT_EQ(le::readU32(&file[6]), 0u);
    EXPECT_EQ(le::readU32(&file[10]), 54u);
}

TEST(DibBlock, RowsArePaddedToFourBytes)
{
    EXPECT_EQ(DibBlock(1, 5, 24).stride(), 4u);
    EXPECT_EQ(DibBlock(3, 1, 8).stride(), 4u);
    EXPECT_EQ(DibBlock(5, 1, 8).stride(), 8u);
    EXPECT_EQ(DibBlock(33, 1, 1).stride(), 8u);
    EXPECT_EQ(DibBlock(1, 1, 8).colourTableBytes(), 1024u);
    EXPECT_EQ(DibBlock(1, 1, 4).colourTableBytes(), 64u);
    EXPECT_EQ(DibBlock(1, 1, 16).colourTableBytes(), 0u);
}

TEST(DibBlock, MalformedBlocksAreNotWritten)
{
    TempDir dir;
    const std::string path = dir.file("bad.bmp");
    EXPECT_FALSE(writeBmpFile(path, std::span<const uint8_t>()));
    std::vector<uint8_t> tiny(4, 0);
    EXPECT_FALSE(writeBmpFile(path, tiny));
    // An 8-bit header with a colour table the block does not hold.
    std::vector<uint8_t> noTable(40 + 900, 0);
    le::writeU16(&noTable[14], 8);
    EXPECT_FALSE(writeBmpFile(path, noTable));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writeBmpFile(dir.file("missing/dir.bmp"), DibBlock(2, 2, 24)));
}

TEST(DibBlock, SonarPictureBecomesAnIndexedBitmap)
{
    SonarImage image;
    image.setPalette(0, 255, 256, true);
    std::vector<uint8_t> samples(100000, 42);
    image.renderFrame(samples.data(), 0.0f);
    TempDir dir;
    ASSERT_TRUE(writeBmpFile(dir.file("frame.bmp"), dibFromSonarImage(image)));
    const auto file = readFileBytes(dir.file("frame.bmp"));
    ASSERT_EQ(file.size(), 14u + 40u + 1024u + 250000u);
    EXPECT_EQ(le::readU32(&file[10]), 1078u);
    EXPECT_EQ(le::readU16(&file[28]), 8);
    // Colour table in blue, green, red, reserved order.
    EXPECT_EQ(file[54 + 4 * 42 + 0], 42);
    EXPECT_EQ(file[54 + 4 * 42 + 3], 0);
    // Rows are the picture's rows, bottom first.
    EXPECT_TRUE(std::equal(file.begin() + 1078, file.end(), image.pixels()));
}
