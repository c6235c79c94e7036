#pragma once

#include "core/data/FrameHeader.h"

#include <cstdint>

namespace dorvane {

struct Rgb
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The colour of a wall point at percent of the pipe radius, for an error
// band of range percent: white within 2 %, then pale to pure red outwards and
// pale to pure blue inwards up to the band's edge, black beyond it.
Rgb deviationColour(uint16_t percent, int range);

// A beam radius as a percentage of the pipe radius, both in pixels, cut to
// 16 bits; empty when the pipe radius is 0 pixels.
bool radiusPercent(uint32_t radius, uint32_t pipeRadius, uint16_t &percent);

// The colour of a beam: black when the frame's pipe radius is 0 pixels.
Rgb beamColour(uint32_t radius, uint32_t pipeRadius, int range);

// The tolerance band around the pipe circle, in pixels: the pipe radius less
// and plus errorRate per cent of it (in whole millimetres), rounded. Absurd
// headers are held to +-Limit pixels, far beyond the picture and small
// enough to double.
struct ToleranceBand
{
    static constexpr double Limit = 1 << 24;

    int inner = 0;
    int outer = 0;
};
ToleranceBand toleranceBand(const FrameHeader &header);

} // namespace dorvane
