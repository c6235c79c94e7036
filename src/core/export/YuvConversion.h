#pragma once

#include <cstdint>

namespace dorvane {

// The three planes of a 4:2:0 picture, top row first: luma at full size,
// each chroma plane at half the width and height, rounded up.
struct YuvPlanes
{
    uint8_t *y = nullptr;
    uint8_t *u = nullptr;
    uint8_t *v = nullptr;
    int yStride = 0;
    int uStride = 0;
    int vStride = 0;
};

// Converts a bottom-up bitmap of width x height pixels at 24 or 32 bits per
// pixel (blue, green, red, and an unused byte), rows padded to 4 bytes, into
// 4:2:0 YUV in BT.601's video range with the usual 8-bit integer weights:
//   Y = ((66 R + 129 G + 25 B + 128) >> 8) + 16
//   U = ((-38 R - 74 G + 112 B + 128) >> 8) + 128
//   V = ((112 R - 94 G - 18 B + 128) >> 8) + 128
// Chroma is taken from the sums of each 2 x 2 block of pixels; at an odd
// width or height the last column or row counts twice.
void bitmapToYuv420(const uint8_t *bits, int width, int height, int bitsPerPixel,
                    const YuvPlanes &planes);

} // namespace dorvane
