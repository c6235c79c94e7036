#include "core/display/Sediment.h"

#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"
#include "core/display/PixelMapTable.h"

#include <bit>
#include <cmath>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dorvane {

namespace {

constexpr int FirstSearchedSample = 50;
constexpr int LastSearchedSample = 244;
constexpr int LowerHalfFirstBeam = 100;
constexpr int LowerHalfLastBeam = 299;
constexpr int LowerHalfBeams = LowerHalfLastBeam - LowerHalfFirstBeam + 1;

} // namespace

int echoPeak(const uint8_t *beamSamples)
{
#if defined(__SSE2__)
    // 195 samples: twelve blocks of 16 from sample 50, then 242..244.
    constexpr int Blocks = 12;
    const uint8_t *first = beamSamples + FirstSearchedSample;
    __m128i blocks[Blocks];
    __m128i top = _mm_setzero_si128();
    for (int i = 0; i < Blocks; ++i) {
        blocks[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(first + 16 * i));
        top = _mm_max_epu8(top, blocks[i]);
    }
    top = _mm_max_epu8(top, _mm_srli_si128(top, 8));
    top = _mm_max_epu8(top, _mm_srli_si128(top, 4));
    top = _mm_max_epu8(top, _mm_srli_si128(top, 2));
    top = _mm_max_epu8(top, _mm_srli_si128(top, 1));
    uint8_t best = static_cast<uint8_t>(_mm_cvtsi128_si32(top));
    for (int s = FirstSearchedSample + 16 * Blocks; s <= LastSearchedSample; ++s)
        best = beamSamples[s] > best ? beamSamples[s] : best;
    if (best == 0)
        return 0;
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(best));
    for (int i = 0; i < Blocks; ++i) {
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(blocks[i], wanted));
        if (mask != 0)
            return FirstSearchedSample + 16 * i + std::countr_zero(static_cast<unsigned>(mask));
    }
    for (int s = FirstSearchedSample + 16 * Blocks; s <= LastSearchedSample; ++s)
        if (beamSamples[s] == best)
            return s;
    return 0;
#else
    int peak = 0;
    uint8_t best = 0;
    for (int s = FirstSearchedSample; s <= LastSearchedSample; ++s) {
        if (beamSamples[s] > best) {
            best = beamSamples[s];
            peak = s;
        }
    }
    return peak;
#endif
}

double segmentShare(int h, int pipeRadius)
{
    if (pipeRadius == 0 || h == 0)
        return 0.0;
    const float r = static_cast<float>(pipeRadius);
    const float r2 = r * r;
    const float circleArea = 3.1415927f * r2;
    const float rest = r - static_cast<float>(h);
    const double theta = std::acos(static_cast<double>(rest) / r);
    return (theta * r2 - r * std::sin(theta) * rest) / circleArea;
}

int sedimentDepthFor(int permille, int pipeRadius)
{
    if (pipeRadius <= 0)
        return 0;
    const auto covers = [permille, pipeRadius](int h) {
        return segmentShare(h, pipeRadius) * 1000.0 >= permille;
    };
    // The share grows with h, so the smallest covering h is found by halving.
    int low = 0, high = pipeRadius; // covers(high) stands for "none qualifies"
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (covers(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

FrameAnalysis analyseFrame(const FrameRecord &frame, ScreenPoint centre)
{
    return analyseFrame(frame.header, frame.samples.data(), centre);
}

FrameAnalysis analyseFrame(const FrameHeader &h, const uint8_t *samples, ScreenPoint centre)
{
    FrameAnalysis a;

    int64_t lowerHalfSum = 0;
    for (int b = 0; b < BeamCount; ++b) {
        const int peak = echoPeak(samples + b * SamplesPerBeam);
        a.peakSamples[static_cast<size_t>(b)] = static_cast<uint8_t>(peak);
        const uint32_t code = PixelMapTable::leadingEdgeCode(b, peak);
        const int64_t dx = pixelCodeX(code) - centre.x;
        const int64_t dy = (PictureSize - pixelCodeY(code)) - centre.y;
        const auto radius =
            static_cast<uint32_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
        a.radii[static_cast<size_t>(b)] = radius;
        if (b >= LowerHalfFirstBeam && b <= LowerHalfLastBeam)
            lowerHalfSum += static_cast<int64_t>(radius) * radius;
    }

    // A detection radius of 0 gives 0 pixels instead of a division by zero.
    const auto r = static_cast<uint32_t>(circleRadiusPixels(h));
    a.radii[BeamCount] = r;
    a.radii[BeamCount + 1] = h.errorRate;

    // The lower half of a profile lying exactly on the circle sums to 200 r^2;
    // 64 bits, as the 32-bit product overflows for absurd headers.
    const int64_t expected = int64_t{LowerHalfBeams} * r * r;
    if (lowerHalfSum >= expected)
        return a;
    if (h.excludeSediment) {
        a.sedimentPermille = -1;
        a.sedimentDepth = -1;
        return a;
    }
    // deficit * 1000 / (2 * 200 r^2) taken as deficit * 5 / (2 r^2): the
    // deficit times 1000 overflows 64 bits for r up to 65535 * 250 pixels.
    constexpr int64_t Numerator = 1000 / std::gcd(1000, 2 * LowerHalfBeams);
    constexpr int64_t Denominator = 2 * LowerHalfBeams / std::gcd(1000, 2 * LowerHalfBeams);
    const int64_t deficit = expected - lowerHalfSum;
    a.sedimentPermille = static_cast<int>(deficit * Numerator / (Denominator * r * r));
    a.sedimentDepth = sedimentDepthFor(a.sedimentPermille, h.pipeRadius);
    return a;
}

void appendProfilePoints(const std::array<uint8_t, BeamCount> &peakSamples,
                         std::vector<uint32_t> &points)
{
    const PixelMapTable &map = PixelMapTable::instance();
    for (int b = 0; b < BeamCount; ++b) {
        const auto cell = map.cell(b * SamplesPerBeam + peakSamples[static_cast<size_t>(b)]);
        points.insert(points.end(), cell.begin(), cell.end());
    }
}

std::vector<uint32_t> profilePoints(const std::array<uint8_t, BeamCount> &peakSamples)
{
    std::vector<uint32_t> points;
    points.reserve(BeamCount * 3);
    appendProfilePoints(peakSamples, points);
    return points;
}

SedimentResult computeSediment(const FrameRecord &frame, ScreenPoint circleCentre)
{
    const FrameAnalysis a = analyseFrame(frame, circleCentre);
    SedimentResult result;
    result.profilePoints = profilePoints(a.peakSamples);
    result.radii = a.radii;
    result.sedimentPermille = a.sedimentPermille;
    result.sedimentDepth = a.sedimentDepth;
    result.cableLength = frame.header.cableLength;
    return result;
}

} // namespace dorvane
