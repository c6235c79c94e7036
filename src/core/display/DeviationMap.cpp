#include "core/display/DeviationMap.h"

#include "core/display/DibBlock.h"

#include <cstring>

namespace dorvane {

namespace {
constexpr int RowBytes = DeviationMap::Width * 3;
constexpr int SmoothingWeight = 13;
constexpr int MinimumSmoothedRows = 7;
} // namespace

DeviationMap::DeviationMap(std::span<const RadiusProfile> profiles)
    : m_rows(static_cast<int>(profiles.size()))
{
    m_bytes.assign(static_cast<size_t>(m_rows) * RowBytes, 0);
    for (int f = 0; f < m_rows; ++f) {
        const auto radii = profiles[static_cast<size_t>(f)];
        const uint32_t pipe = radii[400];
        const int range = static_cast<int>(radii[401]);
        uint8_t *row = &m_bytes[static_cast<size_t>(f) * RowBytes];
        for (int b = 0; b < Width; ++b) {
            const Rgb c = beamColour(radii[static_cast<size_t>(b)], pipe, range);
            row[b * 3] = c.blue;
            row[b * 3 + 1] = c.green;
            row[b * 3 + 2] = c.red;
        }
    }
    smooth();
}

void DeviationMap::smooth()
{
    if (m_rows < MinimumSmoothedRows)
        return;
    // Every byte of the inner pixels: five times itself plus its neighbours
    // one and two rows up and down and columns left and right, over 13.
    const std::vector<uint8_t> source = m_bytes;
    const auto at = [&](int row, int column, int channel) {
        return static_cast<int>(source[static_cast<size_t>(row) * RowBytes + column * 3 + channel]);
    };
    for (int r = SmoothedBorder; r < m_rows - SmoothedBorder; ++r) {
        for (int c = SmoothedBorder; c < Width - SmoothedBorder; ++c) {
            for (int ch = 0; ch < 3; ++ch) {
                const int sum = 5 * at(r, c, ch) + at(r - 1, c, ch) + at(r - 2, c, ch) +
                                at(r + 1, c, ch) + at(r + 2, c, ch) + at(r, c - 1, ch) +
                                at(r, c - 2, ch) + at(r, c + 1, ch) + at(r, c + 2, ch);
                m_bytes[static_cast<size_t>(r) * RowBytes + c * 3 + ch] =
                    static_cast<uint8_t>(sum / SmoothingWeight);
            }
        }
    }
}

Rgb DeviationMap::pixel(int beam, int frame) const
{
    const uint8_t *p = &m_bytes[static_cast<size_t>(frame) * RowBytes + beam * 3];
    return {p[2], p[1], p[0]};
}

DibBlock DeviationMap::mapBlock() const
{
    DibBlock block(Width, m_rows, 24);
    for (int f = 0; f < m_rows; ++f)
        std::memcpy(block.row(f), &m_bytes[static_cast<size_t>(f) * RowBytes], RowBytes);
    return block;
}

} // namespace dorvane
