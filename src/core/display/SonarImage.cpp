#include "core/display/SonarImage.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelGatherTable.h"
#include "core/display/PixelMapTable.h"
#include "core/display/RollShift.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dorvane {

namespace {

constexpr uint8_t MaxEchoLevel = 254;

int sourceBeam(int displayBeam, int shift)
{
    int source = displayBeam - shift;
    if (source < 0)
        source += BeamCount;
    else if (source >= BeamCount)
        source -= BeamCount;
    return source;
}

void copyCapped(uint8_t *out, const uint8_t *in, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i cap = _mm_set1_epi8(static_cast<char>(MaxEchoLevel));
    for (; i + 16 <= count; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_min_epu8(v, cap));
    }
#endif
    for (; i < count; ++i)
        out[i] = std::min(in[i], MaxEchoLevel);
}

// out[i] = levels[offsets[i]] for a segment of pixels. Eight levels are
// gathered into one word and stored together, which halves the work of the
// byte-by-byte loop.
void gatherSegment(uint8_t *__restrict out, const uint8_t *__restrict levels,
                   const uint16_t *__restrict offsets, uint32_t count)
{
    uint32_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= count; i += 8) {
            const uint16_t *o = offsets + i;
            const uint64_t word = uint64_t{levels[o[0]]} | uint64_t{levels[o[1]]} << 8 |
                                  uint64_t{levels[o[2]]} << 16 | uint64_t{levels[o[3]]} << 24 |
                                  uint64_t{levels[o[4]]} << 32 | uint64_t{levels[o[5]]} << 40 |
                                  uint64_t{levels[o[6]]} << 48 | uint64_t{levels[o[7]]} << 56;
            std::memcpy(out + i, &word, sizeof word);
        }
    }
    for (; i < count; ++i)
        out[i] = levels[offsets[i]];
}

} // namespace

SonarImage::SonarImage()
    : m_pixels(std::make_unique<uint8_t[]>(PixelCount)),
      m_displaySamples(std::make_unique<uint8_t[]>(SampleCount))
{
    reset();
    setPalette(0, 255, 256, false);
}

SonarImage::~SonarImage() = default;

void SonarImage::reset()
{
    std::memset(m_pixels.get(), BackgroundLevel, PixelCount);
    m_valid = false;
}

void SonarImage::setPalette(int minLevel, int maxLevel, int colourCount, bool grey)
{
    m_palette = buildPalette(minLevel, maxLevel, colourCount, grey);
}

void SonarImage::renderFrame(const uint8_t *samples, float roll)
{
    // Display beam b shows source beam b - shift: the samples are copied once
    // into display order, which is two contiguous runs of beams.
    const int shift = rollShift(roll);
    const int firstSource = sourceBeam(0, shift);
    const size_t headBeams = static_cast<size_t>(BeamCount - firstSource);
    uint8_t *display = m_displaySamples.get();
    copyCapped(display, samples + firstSource * SamplesPerBeam, headBeams * SamplesPerBeam);
    copyCapped(display + headBeams * SamplesPerBeam, samples,
               static_cast<size_t>(firstSource) * SamplesPerBeam);

    // Each painted pixel takes the level of the cell that paints it last.
    const PixelGatherTable &table = PixelGatherTable::instance();
    const uint16_t *offsets = table.cellOffsets().data();
    for (const PixelGatherTable::Segment &segment : table.segments())
        gatherSegment(m_pixels.get() + segment.pixel, display + segment.baseCell,
                      offsets + segment.firstEntry, segment.length);
    m_valid = true;
}

void SonarImage::renderTestPattern()
{
    auto samples = std::make_unique<std::array<uint8_t, SampleCount>>();
    for (int b = 0; b < BeamCount; ++b)
        std::fill_n(samples->begin() + b * SamplesPerBeam, SamplesPerBeam,
                    static_cast<uint8_t>(b * SamplesPerBeam / BeamCount));
    renderFrame(samples->data(), 0.0f);
}

void renderFrameCellByCell(uint8_t *pixels, const uint8_t *samples, float roll)
{
    const PixelMapTable &map = PixelMapTable::instance();
    const int shift = rollShift(roll);
    for (int b = 0; b < BeamCount; ++b) {
        const int source = sourceBeam(b, shift);
        for (int s = 0; s < SamplesPerBeam; ++s) {
            uint8_t v = samples[source * SamplesPerBeam + s];
            if (v == 255)
                v = MaxEchoLevel;
            for (uint32_t code : map.cell(b * SamplesPerBeam + s))
                pixels[pixelCodeY(code) * PictureSize + pixelCodeX(code)] = v;
        }
    }
}

} // namespace dorvane
