#include "core/display/DeviationColour.h"

#include "core/display/PictureGeometry.h"

#include <algorithm>

namespace dorvane {

namespace {
uint8_t fade(int distance, int range)
{
    return static_cast<uint8_t>(255 - distance * 255 / range);
}
} // namespace

Rgb deviationColour(uint16_t percent, int range)
{
    const int p = percent;
    if (p >= 98 && p <= 102)
        return {255, 255, 255};
    if (p >= 103 && p <= 100 + range) {
        const uint8_t v = fade(p - 100, range);
        return {255, v, v};
    }
    if (p >= 100 - range && p <= 97) {
        const uint8_t v = fade(100 - p, range);
        return {v, v, 255};
    }
    return {0, 0, 0};
}

bool radiusPercent(uint32_t radius, uint32_t pipeRadius, uint16_t &percent)
{
    if (pipeRadius == 0)
        return false;
    percent = static_cast<uint16_t>(uint64_t{radius} * 100 / pipeRadius);
    return true;
}

Rgb beamColour(uint32_t radius, uint32_t pipeRadius, int range)
{
    uint16_t percent = 0;
    if (!radiusPercent(radius, pipeRadius, percent))
        return {0, 0, 0};
    return deviationColour(percent, range);
}

ToleranceBand toleranceBand(const FrameHeader &header)
{
    if (header.detectRadius == 0)
        return {};
    // 64 bits: 65535 mm at 65535 % overflows an int.
    const int64_t e = int64_t{header.pipeRadius} * header.errorRate / 100;
    const auto pixels = [&](int64_t mm) {
        const double p =
            static_cast<double>(mm) * double{PictureRadius} / header.detectRadius + 0.5;
        return static_cast<int>(std::clamp(p, -ToleranceBand::Limit, ToleranceBand::Limit));
    };
    return {pixels(header.pipeRadius - e), pixels(header.pipeRadius + e)};
}

} // namespace dorvane
