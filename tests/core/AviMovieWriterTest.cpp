#include "core/export/AviMovieWriter.h"

#include "core/display/DibBlock.h"
#include "support/MovieReader.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

constexpr int32_t Fail = static_cast<int32_t>(0x80004005u);
constexpr uint32_t Xvid = 0x64697658;      // "Xvid"
constexpr uint32_t XvidUpper = 0x44495658; // "XVID"

// A bitmap whose top half is red and bottom half blue; a shade of grey
// varies it from frame to frame.
DibBlock twoColourBitmap(int width, int height, int bitsPerPixel)
{
    DibBlock dib(width, height, bitsPerPixel);
    const int bytes = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        uint8_t *row = dib.row(y);
        const bool top = y >= height / 2; // rows count from the bottom
        for (int x = 0; x < width; ++x) {
            row[x * bytes + 0] = top ? 0 : 255; // blue
            row[x * bytes + 1] = 0;             // green
            row[x * bytes + 2] = top ? 255 : 0; // red
        }
    }
    return dib;
}

// Pixels that differ everywhere, so that each frame codes to many bytes.
DibBlock noiseBitmap(int width, int height, uint32_t seed)
{
    DibBlock dib(width, height, 24);
    uint32_t x = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        uint8_t *row = dib.row(y);
        for (size_t i = 0; i < static_cast<size_t>(width) * 3; ++i) {
            x = x * 1664525u + 1013904223u;
            row[i] = static_cast<uint8_t>(x >> 24);
        }
    }
    return dib;
}

// The first picture of a movie sampled at two places, the first in a red
// part and the second in a blue: red is Y 81, U 90, V 240 and blue Y 41,
// U 240, V 110 in the video range of BT.601.
::testing::AssertionResult redThenBlue(const Movie &m)
{
    const std::vector<int> y = {81, 41}, u = {90, 240}, v = {240, 110};
    if (m.y.size() != 2)
        return ::testing::AssertionFailure() << m.y.size() << " samples";
    for (size_t i = 0; i < 2; ++i)
        if (std::abs(m.y[i] - y[i]) > 3 || std::abs(m.u[i] - u[i]) > 3 ||
            std::abs(m.v[i] - v[i]) > 3)
            return ::testing::AssertionFailure()
                   << "sample " << i << ": " << m.y[i] << "," << m.u[i] << "," << m.v[i];
    return ::testing::AssertionSuccess();
}

class AviMovieWriterTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path = dir.file("movie.avi");
};

} // namespace

TEST(FourCharacterCode, TheFirstLetterIsTheLowByte)
{
    EXPECT_EQ(fourCharacterCode("Xvid"), 0x64697658u);
    EXPECT_EQ(fourCharacterCode("XVID"), 0x44495658u);
}

// Movies as they are written and read back.

TEST_F(AviMovieWriterTest, TwelveFramesMakeAnMpeg4MovieOfTwelveKeyFrames)
{
    {
        AviMovieWriter writer(path, Xvid, 4);
        EXPECT_EQ(writer.state(), AviMovieWriter::Waiting);
        for (int i = 0; i < 12; ++i)
            ASSERT_EQ(writer.appendFrame(noiseBitmap(500, 500, static_cast<uint32_t>(i))), 0);
        EXPECT_EQ(writer.state(), AviMovieWriter::Writing);
        EXPECT_EQ(writer.lastError(), "Method Succeeded");
        EXPECT_EQ(writer.framesWritten(), 12);
        EXPECT_TRUE(writer.release());
        EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
        EXPECT_EQ(writer.lastError(), "Method Succeeded");
    }
    const Movie m = readMovie(path);
    ASSERT_TRUE(m.opened);
    EXPECT_EQ(m.streams, 1);
    EXPECT_EQ(m.codec, "mpeg4");
    EXPECT_EQ(m.codecTag, XvidUpper);
    EXPECT_EQ(m.timeBaseNum, 1);
    EXPECT_EQ(m.timeBaseDen, 4);
    EXPECT_EQ(m.declaredFrames, 12);
    EXPECT_EQ(m.packets, 12);
    EXPECT_EQ(m.keyPackets, 12);
    EXPECT_EQ(m.width, 500);
    EXPECT_EQ(m.height, 500);
    EXPECT_EQ(m.decoded, 12);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"movie.avi"});
}

TEST_F(AviMovieWriterTest, OddSizesAndOtherRatesAreKept)
{
    {
        AviMovieWriter writer(path, Xvid, 25);
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(writer.appendFrame(twoColourBitmap(333, 333, 32)), 0) << writer.lastError();
    }
    const Movie m = readMovie(path);
    EXPECT_EQ(m.width, 333);
    EXPECT_EQ(m.height, 333);
    EXPECT_EQ(m.timeBaseDen, 25);
    EXPECT_EQ(m.packets, 3);
    EXPECT_EQ(m.keyPackets, 3);
    EXPECT_EQ(m.decoded, 3);
}

TEST_F(AviMovieWriterTest, OneFrameGivesOneFrame)
{
    {
        AviMovieWriter writer(path, Xvid, 4);
        ASSERT_EQ(writer.appendFrame(twoColourBitmap(40, 30, 24)), 0);
    }
    const Movie m = readMovie(path);
    EXPECT_EQ(m.declaredFrames, 1);
    EXPECT_EQ(m.packets, 1);
    EXPECT_EQ(m.decoded, 1);
}

TEST_F(AviMovieWriterTest, BitmapsAreReadBottomRowFirst)
{
    // The red half is the top of the picture.
    for (const int bits : {24, 32}) {
        {
            AviMovieWriter writer(path, Xvid, 4);
            const DibBlock dib = twoColourBitmap(64, 64, bits);
            ASSERT_EQ(writer.appendFrameBits(64, 64, dib.row(0), bits), 0);
        }
        EXPECT_TRUE(redThenBlue(readMovie(path, {{20, 10}, {40, 54}}))) << bits;
    }
}

TEST_F(AviMovieWriterTest, RowsMayLieTopRowFirstAndUnpadded)
{
    // 33 pixels of 24 bits: rows of 99 bytes, one after the other, red first.
    const int width = 33, height = 32;
    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows.insert(rows.end(), {uint8_t(y < 16 ? 0 : 255), 0, uint8_t(y < 16 ? 255 : 0)});
    {
        AviMovieWriter writer(path, Xvid, 4);
        const uint8_t *bottom = rows.data() + (height - 1) * width * 3;
        ASSERT_EQ(writer.appendFrameRows(width, height, bottom, -width * 3, 24), 0);
        ASSERT_EQ(writer.appendFrameRows(width, height, bottom, -width * 3, 24), 0);
    }
    const Movie m = readMovie(path, {{10, 4}, {30, 28}});
    EXPECT_EQ(m.width, 33);
    EXPECT_EQ(m.decoded, 2);
    EXPECT_TRUE(redThenBlue(m));
}

TEST_F(AviMovieWriterTest, AFrameLargerThanAScreenFits)
{
    {
        AviMovieWriter writer(path, Xvid, 4);
        ASSERT_EQ(writer.appendFrame(twoColourBitmap(2600, 1700, 24)), 0);
    }
    const Movie m = readMovie(path);
    EXPECT_EQ(m.width, 2600);
    EXPECT_EQ(m.height, 1700);
    EXPECT_EQ(m.decoded, 1);
}

TEST_F(AviMovieWriterTest, EachFrameIsTakenAsItWasWhenAppended)
{
    // The caller draws the next frame into the same bitmap as soon as the
    // append returns, while the frame is still to be encoded.
    {
        AviMovieWriter writer(path, Xvid, 4);
        DibBlock dib = twoColourBitmap(64, 64, 24);
        ASSERT_EQ(writer.appendFrame(dib), 0);
        for (int i = 0; i < 6; ++i) {
            std::fill(dib.row(0), dib.row(0) + dib.stride() * 64, uint8_t{255});
            ASSERT_EQ(writer.appendFrame(dib), 0);
        }
    }
    // The first picture is still red above blue.
    const Movie m = readMovie(path, {{20, 10}, {40, 54}});
    EXPECT_EQ(m.decoded, 7);
    EXPECT_TRUE(redThenBlue(m));
}

// The file comes with the first frame and is in place once released.

TEST_F(AviMovieWriterTest, AWriterReleasedWithoutAFrameLeavesNoFile)
{
    {
        AviMovieWriter writer(path, Xvid, 4);
        EXPECT_TRUE(writer.release());
        EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
        EXPECT_EQ(writer.lastError(), "Method Succeeded");
        EXPECT_EQ(writer.appendFrame(twoColourBitmap(8, 8, 24)), Fail);
    }
    {
        AviMovieWriter unused(path, Xvid, 4);
    }
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, TheMovieIsWrittenBesideTheDestinationUntilReleased)
{
    writeFileBytes(path, {'o', 'l', 'd'});
    AviMovieWriter writer(path, Xvid, 4);
    ASSERT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), 0);
    const auto names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "movie.avi");
    EXPECT_EQ(names[1].rfind("movie.avi.", 0), 0u);
    EXPECT_EQ(names[1].substr(names[1].size() - 4), ".tmp");
    EXPECT_EQ(readFileBytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));

    ASSERT_TRUE(writer.release());
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"movie.avi"});
    EXPECT_EQ(readMovie(path).decoded, 1);
}

// Failures: the exact text, a closed writer, and appends that fail at once.

TEST_F(AviMovieWriterTest, AMissingEncoderFailsTheFirstFrame)
{
    AviMovieWriter writer(path, Xvid, 4, {"no-such-encoder"});
    EXPECT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Create Compressed Stream: Check your CODEC options");
    EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
    EXPECT_TRUE(namesIn(dir.path()).empty());

    // Closed for good: even a frame that would do fails and says nothing new.
    EXPECT_EQ(writer.appendFrameBits(16, 16, twoColourBitmap(16, 16, 24).row(0), 24), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Create Compressed Stream: Check your CODEC options");
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, ACodeNoEncoderServesFailsTheSameWay)
{
    AviMovieWriter writer(path, fourCharacterCode("ABCD"), 4);
    EXPECT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Create Compressed Stream: Check your CODEC options");
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, AFrameOfAnotherSizeOrDepthEndsTheMovieBeforeIt)
{
    struct Case
    {
        int width, height, bits;
    };
    for (const Case c : {Case{17, 16, 24}, Case{16, 17, 24}, Case{16, 16, 32}}) {
        {
            AviMovieWriter writer(path, Xvid, 4);
            ASSERT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), 0);
            ASSERT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), 0);
            EXPECT_EQ(writer.appendFrame(twoColourBitmap(c.width, c.height, c.bits)), Fail);
            EXPECT_EQ(writer.lastError(), "Unable to Write Video Stream to the output Movie File");
            EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
            EXPECT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), Fail);
        }
        // What came before the failure is a complete movie.
        const Movie m = readMovie(path);
        EXPECT_EQ(m.declaredFrames, 2);
        EXPECT_EQ(m.packets, 2);
        EXPECT_EQ(m.decoded, 2);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"movie.avi"});
    }
}

TEST_F(AviMovieWriterTest, AReadOnlyFolderTakesNoMovie)
{
    const std::string folder = dir.file("locked");
    fs::create_directory(folder);
    const ReadOnlyFolder locked(folder);
    if (!locked.isReadOnly())
        GTEST_SKIP() << "the folder could not be made read-only here";
    AviMovieWriter writer(folder + "/movie.avi", Xvid, 4);
    EXPECT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Create the Movie File");
    EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
    EXPECT_TRUE(namesIn(folder).empty());
}

TEST_F(AviMovieWriterTest, ARateBelowOneTakesNoStream)
{
    AviMovieWriter writer(path, Xvid, 0);
    EXPECT_EQ(writer.appendFrame(twoColourBitmap(16, 16, 24)), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Create Video Stream in the Movie File");
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, OnlyTwentyFourAndThirtyTwoBitFramesAreTaken)
{
    for (const int bits : {8, 16}) {
        AviMovieWriter writer(path, Xvid, 4);
        EXPECT_EQ(writer.appendFrame(DibBlock(16, 16, bits)), Fail);
        EXPECT_EQ(writer.lastError(), "Unable to Set Video Stream Format");
    }
    AviMovieWriter writer(path, Xvid, 4);
    EXPECT_EQ(writer.appendFrameBits(0, 16, nullptr, 24), Fail);
    EXPECT_EQ(writer.lastError(), "Unable to Set Video Stream Format");
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, AFullDiskLeavesNoMovie)
{
    AviMovieWriter writer(path, Xvid, 4);
    {
        const FullDisk full(256 * 1024);
        int32_t result = 0;
        for (int i = 0; i < 40 && result == 0; ++i)
            result = writer.appendFrame(noiseBitmap(200, 200, static_cast<uint32_t>(i)));
        EXPECT_EQ(result, Fail);
        EXPECT_EQ(writer.lastError(), "Unable to Write Video Stream to the output Movie File");
        EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
    }
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(AviMovieWriterTest, AFailureAfterTheLastFrameIsToldByTheRelease)
{
    AviMovieWriter writer(path, Xvid, 4);
    {
        // The frame codes to more than the disk takes; the append only
        // hands it over to be encoded.
        const FullDisk full(16 * 1024);
        ASSERT_EQ(writer.appendFrame(noiseBitmap(200, 200, 1)), 0);
        EXPECT_FALSE(writer.release());
    }
    EXPECT_EQ(writer.lastError(), "Unable to Write Video Stream to the output Movie File");
    EXPECT_EQ(writer.state(), AviMovieWriter::Closed);
    EXPECT_EQ(writer.framesWritten(), 0);
    EXPECT_TRUE(writer.release());
    EXPECT_TRUE(namesIn(dir.path()).empty());
}
