#pragma once

#include <cstdint>
#include <vector>

namespace dorvane {

// A picture of 8-bit red, green, blue pixels, top row first, rows unpadded.
struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    friend bool operator==(const RgbPicture &, const RgbPicture &) = default;
};

} // namespace dorvane
