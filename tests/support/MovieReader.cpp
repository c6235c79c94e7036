#include "support/MovieReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace dorvane::test {

Movie readMovie(const std::string &path, const std::vector<std::pair<int, int>> &samples)
{
    Movie m;
    AVFormatContext *format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return m;
    m.opened = true;
    m.streams = static_cast<int>(format->nb_streams);
    if (m.streams < 1) {
        avformat_close_input(&format);
        return m;
    }
    const AVStream *stream = format->streams[0];
    const AVCodecParameters *par = stream->codecpar;
    m.codec = avcodec_get_name(par->codec_id);
    m.codecTag = par->codec_tag;
    m.timeBaseNum = stream->time_base.num;
    m.timeBaseDen = stream->time_base.den;
    m.declaredFrames = stream->nb_frames;
    m.width = par->width;
    m.height = par->height;

    const AVCodec *decoder = avcodec_find_decoder(par->codec_id);
    AVCodecContext *codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, par);
    avcodec_open2(codec, decoder, nullptr);
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    const auto drain = [&] {
        while (avcodec_receive_frame(codec, frame) >= 0) {
            if (m.decoded++ == 0) {
                for (const auto &[x, yDown] : samples) {
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

} // namespace dorvane::test
