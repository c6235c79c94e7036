#pragma once

#include "core/display/PixelCode.h"

#include <cstdint>
#include <vector>

namespace dorvane {

// The pixel map turned inside out for fast rendering. Each picture pixel that
// some cell paints takes the level of the cell that paints it last (the cell
// with the highest index, as cells are painted in ascending order). The
// painted pixels of each row are cut into segments of consecutive pixels whose
// cells lie within 65,536 of a base cell, so a pixel's cell fits in 16 bits.
// Rendering then writes each segment's pixels in one sequential pass. Pixels
// no cell paints are in no segment and keep their background level.
class PixelGatherTable
{
public:
    struct Segment
    {
        uint32_t pixel;      // index of the first pixel (y * 500 + x, y up)
        uint32_t firstEntry; // index of its first entry in cellOffsets()
        uint32_t baseCell;   // cell = baseCell + offset
        uint32_t length;     // pixels in the segment
    };

    static const PixelGatherTable &instance();

    const std::vector<Segment> &segments() const { return m_segments; }
    const std::vector<uint16_t> &cellOffsets() const { return m_cellOffsets; }

private:
    PixelGatherTable();

    std::vector<Segment> m_segments;
    std::vector<uint16_t> m_cellOffsets;
};

} // namespace dorvane
