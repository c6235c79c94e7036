#include "core/export/YuvConversion.h"

#include "core/display/DibBlock.h"

#include <cstddef>

namespace dorvane {

namespace {

inline uint8_t luma(int r, int g, int b)
{
    return static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

// From the sums of four pixels: the weights are four times too large, so
// the shift is two more and the rounding four times larger.
inline uint8_t blueDifference(int r4, int g4, int b4)
{
    return static_cast<uint8_t>(((-38 * r4 - 74 * g4 + 112 * b4 + 512) >> 10) + 128);
}

inline uint8_t redDifference(int r4, int g4, int b4)
{
    return static_cast<uint8_t>(((112 * r4 - 94 * g4 - 18 * b4 + 512) >> 10) + 128);
}

// One pair of picture rows (or the last row alone, given twice) into two
// luma rows and one row of each chroma plane. Pixel is the bytes per pixel,
// fixed at compile time so that the loop is unrolled for it.
template<int Pixel>
void lumaRow(const uint8_t *__restrict row, int width, uint8_t *__restrict y)
{
    for (int x = 0; x < width; ++x)
        y[x] = luma(row[Pixel * x + 2], row[Pixel * x + 1], row[Pixel * x]);
}

template<int Pixel>
void chromaRow(const uint8_t *__restrict a, const uint8_t *__restrict b, int width,
               uint8_t *__restrict u, uint8_t *__restrict v)
{
    const int pairs = width / 2;
    for (int i = 0; i < pairs; ++i) {
        const int o = 2 * i * Pixel;
        const int r = a[o + 2] + a[o + Pixel + 2] + b[o + 2] + b[o + Pixel + 2];
        const int g = a[o + 1] + a[o + Pixel + 1] + b[o + 1] + b[o + Pixel + 1];
        const int bl = a[o] + a[o + Pixel] + b[o] + b[o + Pixel];
        u[i] = blueDifference(r, g, bl);
        v[i] = redDifference(r, g, bl);
    }
    if (width % 2) {
        const int o = 2 * pairs * Pixel;
        const int r = 2 * (a[o + 2] + b[o + 2]);
        const int g = 2 * (a[o + 1] + b[o + 1]);
        const int bl = 2 * (a[o] + b[o]);
        u[pairs] = blueDifference(r, g, bl);
        v[pairs] = redDifference(r, g, bl);
    }
}

template<int Pixel>
void convertRows(const uint8_t *top, const uint8_t *bottom, bool twoRows, int width, uint8_t *yTop,
                 uint8_t *yBottom, uint8_t *u, uint8_t *v)
{
    lumaRow<Pixel>(top, width, yTop);
    if (twoRows)
        lumaRow<Pixel>(bottom, width, yBottom);
    chromaRow<Pixel>(top, bottom, width, u, v);
}

template<int Pixel>
void convert(const uint8_t *bits, int width, int height, const YuvPlanes &p)
{
    const ptrdiff_t stride = static_cast<ptrdiff_t>(DibBlock::strideFor(width, Pixel * 8));
    // Picture row r is bitmap row height - 1 - r.
    const auto sourceRow = [&](int r) { return bits + stride * (height - 1 - r); };
    for (int r = 0; r < height; r += 2) {
        const bool twoRows = r + 1 < height;
        const uint8_t *top = sourceRow(r);
        const uint8_t *bottom = twoRows ? sourceRow(r + 1) : top;
        const int c = r / 2;
        convertRows<Pixel>(top, bottom, twoRows, width, p.y + static_cast<ptrdiff_t>(r) * p.yStride,
                           p.y + static_cast<ptrdiff_t>(r + (twoRows ? 1 : 0)) * p.yStride,
                           p.u + static_cast<ptrdiff_t>(c) * p.uStride,
                           p.v + static_cast<ptrdiff_t>(c) * p.vStride);
    }
}

} // namespace

void bitmapToYuv420(const uint8_t *bits, int width, int height, int bitsPerPixel,
                    const YuvPlanes &planes)
{
    if (bitsPerPixel == 32)
        convert<4>(bits, width, height, planes);
    else if (bitsPerPixel == 24)
        convert<3>(bits, width, height, planes);
}

} // namespace dorvane
