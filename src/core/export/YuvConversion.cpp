#include "core/export/YuvConversion.h"

#include "core/display/DibBlock.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Pixel is the bytes per pixel, fixed at compile time so that the loops
// are unrolled for it.
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

#if defined(__SSE2__)

// Eight pixels of 32 bits, as their blue, green and red in 16-bit lanes.
struct Channels
{
    __m128i b, g, r;
};

template<int Shift>
__m128i channel(__m128i low, __m128i high)
{
    const __m128i byte = _mm_set1_epi32(0xFF);
    return _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(low, Shift), byte),
                           _mm_and_si128(_mm_srli_epi32(high, Shift), byte));
}

inline Channels channels(const uint8_t *pixels)
{
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels + 16));
    return {channel<0>(low, high), channel<8>(low, high), channel<16>(low, high)};
}

// The weighted sum stays below 2^16, so unsigned 16-bit lanes hold it.
inline void storeLuma(const Channels &c, uint8_t *y)
{
    const __m128i sum =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(c.r, _mm_set1_epi16(66)),
                                    _mm_mullo_epi16(c.g, _mm_set1_epi16(129))),
                      _mm_add_epi16(_mm_mullo_epi16(c.b, _mm_set1_epi16(25)), _mm_set1_epi16(128)));
    const __m128i luma = _mm_add_epi16(_mm_srli_epi16(sum, 8), _mm_set1_epi16(16));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(y), _mm_packus_epi16(luma, luma));
}

// Four 2 x 2 blocks: the columns of the two rows are added, and each
// multiply-add of pairs adds a block's two columns, weighted.
inline void storeChroma(const Channels &top, const Channels &bottom, int16_t red, int16_t green,
                        int16_t blue, uint8_t *target)
{
    const auto weighted = [](__m128i a, __m128i b, int16_t weight) {
        return _mm_madd_epi16(_mm_add_epi16(a, b), _mm_set1_epi16(weight));
    };
    const __m128i sum = _mm_add_epi32(
        _mm_add_epi32(weighted(top.r, bottom.r, red), weighted(top.g, bottom.g, green)),
        _mm_add_epi32(weighted(top.b, bottom.b, blue), _mm_set1_epi32(512)));
    const __m128i value = _mm_add_epi32(_mm_srai_epi32(sum, 10), _mm_set1_epi32(128));
    const __m128i words = _mm_packs_epi32(value, value);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(target, &bytes, 4);
}

// Eight columns at a time from the left; the columns this leaves, at most
// seven, are for the plain loops. Returns how many were done.
inline int convertColumns(const uint8_t *top, const uint8_t *bottom, int width, uint8_t *yTop,
                          uint8_t *yBottom, uint8_t *u, uint8_t *v)
{
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const Channels a = channels(top + 4 * x);
        const Channels b = channels(bottom + 4 * x);
        storeLuma(a, yTop + x);
        storeLuma(b, yBottom + x);
        storeChroma(a, b, -38, -74, 112, u + x / 2);
        storeChroma(a, b, 112, -94, -18, v + x / 2);
    }
    return x;
}

#else

inline int convertColumns(const uint8_t *, const uint8_t *, int, uint8_t *, uint8_t *, uint8_t *,
                          uint8_t *)
{
    return 0;
}

#endif

// A row pair into two luma rows and a row of each chroma plane; the last row
// of an odd height comes as both rows, with the same luma row for both.
template<int Pixel>
void convertRows(const uint8_t *top, const uint8_t *bottom, bool twoRows, int width, uint8_t *yTop,
                 uint8_t *yBottom, uint8_t *u, uint8_t *v)
{
    // An even number of columns, so the rest starts at a block's left.
    const int done = Pixel == 4 ? convertColumns(top, bottom, width, yTop, yBottom, u, v) : 0;
    top += Pixel * done;
    bottom += Pixel * done;
    width -= done;
    lumaRow<Pixel>(top, width, yTop + done);
    if (twoRows)
        lumaRow<Pixel>(bottom, width, yBottom + done);
    chromaRow<Pixel>(top, bottom, width, u + done / 2, v + done / 2);
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
