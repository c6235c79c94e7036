#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

// For each of the 100,000 beam/sample cells (beam-major), the picture pixels
// that the cell paints, as pixel codes. Cell (b, s) lists the distinct points
// (250 + trunc(s sin phi), 250 + trunc(s cos phi)) for phi = b * 0.9 deg +
// k * 0.09 deg, k = 0..9, in the order they first occur; the first is the
// sample's own point on the beam's leading edge.
//
// The codes of all cells are stored in one array, cell after cell, with the
// start of each cell in a second array.
class PixelMapTable
{
public:
    // The process-wide table, computed on first use (thread-safe) and kept
    // until exit.
    static const PixelMapTable &instance();

    // Computes a table from the rule; instance() does this once.
    static PixelMapTable compute();

    std::span<const uint32_t> cell(int cellIndex) const
    {
        return {m_codes.data() + m_offsets[cellIndex],
                m_offsets[cellIndex + 1] - m_offsets[cellIndex]};
    }
    uint32_t firstCode(int cellIndex) const { return m_codes[m_offsets[cellIndex]]; }
    // The same as firstCode(beam * 250 + sample), computed from the beam's
    // leading-edge direction without the table: the sediment calculation
    // needs no more, so reading a survey never waits for the whole table.
    static uint32_t leadingEdgeCode(int beam, int sample);
    size_t codeCount() const { return m_codes.size(); }
    const std::vector<uint32_t> &codes() const { return m_codes; }

private:
    std::vector<uint32_t> m_codes;
    std::vector<uint32_t> m_offsets; // 100,001 entries
};

// The pixel codes of one sample cell of the process-wide table.
inline std::span<const uint32_t> pixelMap(int cellIndex)
{
    return PixelMapTable::instance().cell(cellIndex);
}

} // namespace dorvane
