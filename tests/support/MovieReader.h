#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dorvane::test {

// What a movie holds, as FFmpeg's demuxer and decoder read it back.
struct Movie
{
    bool opened = false;
    int streams = 0;
    std::string codec;
    uint32_t codecTag = 0;
    // The first stream's time base: the duration of one frame.
    int timeBaseNum = 0;
    int timeBaseDen = 0;
    int64_t declaredFrames = 0;
    int packets = 0;
    int keyPackets = 0;
    int width = 0;
    int height = 0;
    int decoded = 0;
    // The first decoded picture's luma and chroma at the sample places.
    std::vector<int> y, u, v;
};

// Reads the movie at path; samples are (x, y) places counted from the top
// left of the picture.
Movie readMovie(const std::string &path, const std::vector<std::pair<int, int>> &samples = {});

} // namespace dorvane::test
