#include "core/export/AviMovieWriter.h"

#include "core/display/DibBlock.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

constexpr int32_t Fail = static_cast<int32_t>(0x80004005u);
constexpr uint32_t Xvid = 0x64697658;      // "Xvid"
constexpr uint32_t XvidUpper = 0x44495658; // "XVID"

// What a movie holds, as FFmpeg's demuxer and decoder read it back.
struct Movie
{
    bool opened = false;
    int streams = 0;
    std::string codec;
    uint32_t codecTag = 0;
    AVRational timeBase{0, 1};
    int64_t declaredFrames = 0;
    int packets = 0;
    int keyPackets = 0;
    int width = 0;
    int height = 0;
    int decoded = 0;
    // The first decoded picture's luma and chroma at a few places.
    std::vector<int> y, u, v;
};

Movie readMovie(const std::string &path, const std::vector<std::pair<int, int>> &samples = {})
{
    Movie m;
    AVFormatContext *format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return m;
    m.opened = true;
    m.streams = static_cast<int>(format->nb_streams);
    const AVStream *stream = format->streams[0];
    const AVCodecParameters *par = stream->codecpar;
    m.codec = avcodec_get_name(par->codec_id);
    m.codecTag = par->codec_tag;
    m.timeBase = stream->time_base;
    m.declaredFrames = stream->nb_frames;
    m.width = par->width;
    m.height = par->height;

    const AVCodec *decoder = avcodec_find_decoder(par->codec_id);
    AVCodecContext *codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, par);
    avcodec_open2(codec, decoder, nullptr);
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    auto drain = [&] {
        while (avcodec_receive_frame(codec, frame) >= 0) {
            if (m.decoded++ == 0) {
                for (auto [x, yDown] : samples) {
                    m.y.push_back(frame->data[0][yDown * frame->linesize[0] + x]);
                    m.u.push_back(frame->data[1][yDown / 2 * frame->linesize[1] + x / 2]);
                    m.v.push_back(frame->data[2][yDown / 2 * frame->linesize[2] + x / 2]);
                }
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        ++m.packets;
        if (packet->flags & AV_PKT_FLAG_KEY)
            ++m.keyPackets;
        avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
        drain();
    }
    avcodec_send_packet(codec, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return m;
}

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

// A folder in which no file can be created, and made writable again on
// destruction. Root ignores modes, so for root it is also made immutable.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(std::string path) : m_path(std::move(path))
    {
        ::chmod(m_path.c_str(), 0555);
        if (::geteuid() == 0)
            m_immutable = setImmutable(true);
        const std::string probe = m_path + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        m_readOnly = fd < 0;
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            setImmutable(false);
        ::chmod(m_path.c_str(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isReadOnly() const { return m_readOnly; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    std::string m_path;
    bool m_immutable = false;
    bool m_readOnly = false;
};

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
    EXPECT_EQ(m.timeBase.num, 1);
    EXPECT_EQ(m.timeBase.den, 4);
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
    EXPECT_EQ(m.timeBase.den, 25);
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
    // Red is Y 81, U 90, V 240 and blue Y 41, U 240, V 110 in the video
    // range of BT.601; the red half is the top of the picture.
    for (const int bits : {24, 32}) {
        {
            AviMovieWriter writer(path, Xvid, 4);
            const DibBlock dib = twoColourBitmap(64, 64, bits);
            ASSERT_EQ(writer.appendFrameBits(64, 64, dib.row(0), bits), 0);
        }
        const Movie m = readMovie(path, {{20, 10}, {40, 54}});
        ASSERT_EQ(m.y.size(), 2u);
        EXPECT_NEAR(m.y[0], 81, 3) << bits;
        EXPECT_NEAR(m.u[0], 90, 3) << bits;
        EXPECT_NEAR(m.v[0], 240, 3) << bits;
        EXPECT_NEAR(m.y[1], 41, 3) << bits;
        EXPECT_NEAR(m.u[1], 240, 3) << bits;
        EXPECT_NEAR(m.v[1], 110, 3) << bits;
    }
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
