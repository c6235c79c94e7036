#include "core/export/FfmpegMovieEncoder.h"

#include "core/base/AtomicFile.h"
#include "core/display/DibBlock.h"
#include "core/export/YuvConversion.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

namespace dorvane {

namespace {

// Large enough for the AVI header and most single pictures in one write.
constexpr int IoBufferSize = 256 * 1024;
// A fixed quantiser: every picture is coded to the same quality whatever
// its content, and fine echoes survive (2 is best, 31 worst).
constexpr int Quantiser = 3;
constexpr int LargestSide = 8192;

// The encoder codes bands of macroblock rows side by side, one thread each:
// as many as there are processors, but no more than there are rows, which
// it would refuse with a warning.
int sliceThreads(int height)
{
    constexpr int MacroblockSide = 16;
    constexpr int MostThreads = 8;
    const int rows = (height + MacroblockSide - 1) / MacroblockSide;
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(std::min(processors, rows), 1, MostThreads);
}

} // namespace

// The FFmpeg objects of one open movie and the file behind them.
struct FfmpegMovieEncoder::Objects
{
    ~Objects()
    {
        avcodec_free_context(&codec);
        avformat_free_context(format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        av_frame_free(&frame);
        av_packet_free(&packet);
    }

    AtomicFile file;
    uint64_t position = 0;
    uint64_t size = 0;

    AVFrame *frame = nullptr;
    AVPacket *packet = nullptr;
    AVIOContext *io = nullptr;
    AVFormatContext *format = nullptr;
    AVStream *stream = nullptr;
    AVCodecContext *codec = nullptr;

    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

namespace {

// FFmpeg writes the movie through these, into the temporary file.
int writeToFile(void *opaque, uint8_t *data, int size)
{
    auto *o = static_cast<FfmpegMovieEncoder::Objects *>(opaque);
    if (size < 0 || !o->file.file().writeAt(o->position, data, static_cast<size_t>(size)))
        return AVERROR(EIO);
    o->position += static_cast<uint64_t>(size);
    if (o->position > o->size)
        o->size = o->position;
    return size;
}

int64_t seekInFile(void *opaque, int64_t offset, int whence)
{
    auto *o = static_cast<FfmpegMovieEncoder::Objects *>(opaque);
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return static_cast<int64_t>(o->size);
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = static_cast<int64_t>(o->position);
        break;
    case SEEK_END:
        base = static_cast<int64_t>(o->size);
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < -base || offset > std::numeric_limits<int64_t>::max() - base)
        return AVERROR(EINVAL);
    o->position = static_cast<uint64_t>(base + offset);
    return static_cast<int64_t>(o->position);
}

} // namespace

FfmpegMovieEncoder::FfmpegMovieEncoder() = default;

FfmpegMovieEncoder::~FfmpegMovieEncoder()
{
    discard();
}

MovieEncoder::OpenResult FfmpegMovieEncoder::open(const Settings &s)
{
    discard();
    m_framesWritten = 0;
    m_diskFailed = false;
    if (s.width < 1 || s.height < 1 || s.width > LargestSide || s.height > LargestSide ||
        (s.bitsPerPixel != 24 && s.bitsPerPixel != 32))
        return OpenResult::NoFormat;

    auto o = std::make_unique<Objects>();
    o->width = s.width;
    o->height = s.height;
    o->bitsPerPixel = s.bitsPerPixel;

    o->frame = av_frame_alloc();
    if (!o->frame)
        return OpenResult::NoFrame;
    o->frame->format = AV_PIX_FMT_YUV420P;
    o->frame->width = s.width;
    o->frame->height = s.height;
    if (av_frame_get_buffer(o->frame, 0) < 0)
        return OpenResult::NoPlanes;
    o->packet = av_packet_alloc();
    if (!o->packet)
        return OpenResult::NoPacket;

    if (!o->file.open(s.path))
        return OpenResult::NoFile;
    auto *ioBuffer = static_cast<uint8_t *>(av_malloc(IoBufferSize));
    if (ioBuffer)
        o->io = avio_alloc_context(ioBuffer, IoBufferSize, 1, o.get(), nullptr, writeToFile,
                                   seekInFile);
    if (!o->io) {
        av_free(ioBuffer);
        return OpenResult::NoFile;
    }
    if (avformat_alloc_output_context2(&o->format, nullptr, "avi", nullptr) < 0 || !o->format)
        return OpenResult::NoFile;
    o->format->pb = o->io;
    o->format->flags |= AVFMT_FLAG_CUSTOM_IO;

    if (s.framesPerSecond < 1)
        return OpenResult::NoStream;
    o->stream = avformat_new_stream(o->format, nullptr);
    if (!o->stream)
        return OpenResult::NoStream;
    const AVRational timeBase{1, s.framesPerSecond};
    o->stream->time_base = timeBase;
    o->stream->avg_frame_rate = av_inv_q(timeBase);

    const AVCodec *encoder = avcodec_find_encoder_by_name(s.encoderName.c_str());
    if (!encoder || encoder->type != AVMEDIA_TYPE_VIDEO)
        return OpenResult::NoEncoder;
    o->codec = avcodec_alloc_context3(encoder);
    if (!o->codec)
        return OpenResult::NoEncoder;
    o->codec->width = s.width;
    o->codec->height = s.height;
    o->codec->pix_fmt = AV_PIX_FMT_YUV420P;
    o->codec->time_base = timeBase;
    o->codec->framerate = av_inv_q(timeBase);
    o->codec->codec_tag = s.codecTag;
    // Every picture a key frame, so that any frame can be stepped to.
    o->codec->gop_size = 1;
    o->codec->max_b_frames = 0;
    o->codec->flags |= AV_CODEC_FLAG_QSCALE;
    o->codec->global_quality = FF_QP2LAMBDA * Quantiser;
    o->codec->thread_type = FF_THREAD_SLICE;
    o->codec->thread_count = sliceThreads(s.height);
    if (avcodec_open2(o->codec, encoder, nullptr) < 0)
        return OpenResult::NoEncoder;

    if (avcodec_parameters_from_context(o->stream->codecpar, o->codec) < 0)
        return OpenResult::NoFormat;
    o->stream->codecpar->codec_tag = s.codecTag;
    if (avformat_write_header(o->format, nullptr) < 0)
        return OpenResult::NoFormat;
    avio_flush(o->io);
    if (o->io->error < 0)
        return OpenResult::NoFormat;

    m_objects = std::move(o);
    return OpenResult::Opened;
}

bool FfmpegMovieEncoder::encode(const uint8_t *bits)
{
    if (!m_objects || !bits)
        return false;
    Objects &o = *m_objects;
    // The encoder may still hold the last picture; then the frame gets
    // planes of its own again.
    if (av_frame_make_writable(o.frame) < 0)
        return false;
    const YuvPlanes planes{o.frame->data[0],     o.frame->data[1],     o.frame->data[2],
                           o.frame->linesize[0], o.frame->linesize[1], o.frame->linesize[2]};
    bitmapToYuv420(bits, o.width, o.height, o.bitsPerPixel, planes);
    o.frame->pts = m_framesWritten;
    o.frame->pict_type = AV_PICTURE_TYPE_I;
    if (avcodec_send_frame(o.codec, o.frame) < 0 || !writePackets())
        return false;
    ++m_framesWritten;
    return true;
}

bool FfmpegMovieEncoder::writePackets()
{
    Objects &o = *m_objects;
    for (;;) {
        const int received = avcodec_receive_packet(o.codec, o.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return false;
        av_packet_rescale_ts(o.packet, o.codec->time_base, o.stream->time_base);
        o.packet->stream_index = o.stream->index;
        const int written = av_write_frame(o.format, o.packet);
        av_packet_unref(o.packet);
        // Each picture goes to the disk whole before the next is taken, so
        // that a full disk is noticed at the picture that did not fit.
        if (written >= 0)
            avio_flush(o.io);
        if (written < 0 || o.io->error < 0) {
            m_diskFailed = true;
            return false;
        }
    }
}

bool FfmpegMovieEncoder::finish()
{
    if (!m_objects)
        return false;
    Objects &o = *m_objects;
    bool complete = m_framesWritten > 0 && !m_diskFailed;
    if (complete && avcodec_send_frame(o.codec, nullptr) >= 0)
        complete = writePackets();
    else
        complete = false;
    if (complete) {
        complete = av_write_trailer(o.format) >= 0;
        avio_flush(o.io);
        complete = complete && o.io->error >= 0 && o.file.commit();
    }
    discard();
    return complete;
}

void FfmpegMovieEncoder::discard()
{
    // Dropping the objects drops the temporary file unless it was committed.
    m_objects.reset();
}

} // namespace dorvane
