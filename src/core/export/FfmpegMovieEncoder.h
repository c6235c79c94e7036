#pragma once

#include "core/export/MovieEncoder.h"

#include <memory>

namespace dorvane {

// MovieEncoder through FFmpeg's AVI muxer and MPEG-4 encoder. All buffers
// are made by open(); encode() allocates nothing of its own.
class FfmpegMovieEncoder final : public MovieEncoder
{
public:
    // FFmpeg's objects and the file behind them; defined where they are used.
    struct Objects;

    FfmpegMovieEncoder();
    ~FfmpegMovieEncoder() override;
    FfmpegMovieEncoder(const FfmpegMovieEncoder &) = delete;
    FfmpegMovieEncoder &operator=(const FfmpegMovieEncoder &) = delete;

    OpenResult open(const Settings &settings) override;
    bool encode(const uint8_t *bits) override;
    bool finish() override;
    void discard() override;
    int framesWritten() const override { return m_framesWritten; }

private:
    bool writePackets();

    std::unique_ptr<Objects> m_objects;
    int m_framesWritten = 0;
    bool m_diskFailed = false;
};

} // namespace dorvane
