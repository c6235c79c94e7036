#pragma once

#include <cstdint>

namespace dorvane {

// A pixel of the sonar picture (see PictureGeometry.h): x in the low 16 bits,
// y counted upwards from the bottom row in the high 16 bits.
constexpr uint32_t makePixelCode(int x, int yUp)
{
    return static_cast<uint32_t>(x) | (static_cast<uint32_t>(yUp) << 16);
}
constexpr int pixelCodeX(uint32_t code)
{
    return static_cast<int>(code & 0xFFFF);
}
constexpr int pixelCodeY(uint32_t code)
{
    return static_cast<int>(code >> 16);
}

} // namespace dorvane
