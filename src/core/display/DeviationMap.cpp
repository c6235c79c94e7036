#include "core/display/DeviationMap.h"

#include <algorithm>
#include <vector>

namespace dorvane {

namespace {

constexpr int RowBytes = DeviationMap::RowBytes;
constexpr int SmoothingWeight = 13;
constexpr int MinimumSmoothedRows = 7;
// Rows worked out at a time when the whole map is made.
constexpr int RowsAtATime = 64;

// A frame's row as it comes from its profile, before smoothing.
void writeRawRow(const RadiusProfile &radii, uint8_t *row)
{
    const uint32_t pipe = radii[400];
    const int range = static_cast<int>(radii[401]);
    for (int b = 0; b < DeviationMap::Width; ++b) {
        const Rgb c = beamColour(radii[static_cast<size_t>(b)], pipe, range);
        row[b * 3] = c.blue;
        row[b * 3 + 1] = c.green;
        row[b * 3 + 2] = c.red;
    }
}

} // namespace

DeviationMap::DeviationMap(std::span<const RadiusProfile> profiles)
    : m_rows(static_cast<int>(profiles.size())), m_block(Width, m_rows, 24)
{
    static_assert(RowBytes % 4 == 0, "the map's rows need no padding as bitmap rows");
    for (int first = 0; first < m_rows; first += RowsAtATime)
        writeRows(profiles, first, std::min(RowsAtATime, m_rows - first), m_block.row(first));
}

void DeviationMap::writeRows(std::span<const RadiusProfile> profiles, int first, int count,
                             uint8_t *out)
{
    const int rows = static_cast<int>(profiles.size());
    // The raw rows these take in: two on either side for the smoothing.
    const int low = std::max(0, first - 2);
    const int high = std::min(rows, first + count + 2);
    std::vector<uint8_t> raw(static_cast<size_t>(high - low) * RowBytes);
    for (int r = low; r < high; ++r)
        writeRawRow(profiles[static_cast<size_t>(r)],
                    &raw[static_cast<size_t>(r - low) * RowBytes]);
    const auto at = [&](int row, int index) {
        return static_cast<int>(raw[static_cast<size_t>(row - low) * RowBytes + index]);
    };
    const bool smoothed = rows >= MinimumSmoothedRows;
    for (int r = first; r < first + count; ++r) {
        uint8_t *row = out + static_cast<size_t>(r - first) * RowBytes;
        std::copy_n(&raw[static_cast<size_t>(r - low) * RowBytes], RowBytes, row);
        if (!smoothed || r < SmoothedBorder || r >= rows - SmoothedBorder)
            continue;
        // Every byte of the inner pixels: five times itself plus its
        // neighbours one and two rows up and down and columns left and right,
        // over 13, all as they were before the smoothing.
        for (int i = SmoothedBorder * 3; i < (Width - SmoothedBorder) * 3; ++i) {
            const int sum = 5 * at(r, i) + at(r - 1, i) + at(r - 2, i) + at(r + 1, i) +
                            at(r + 2, i) + at(r, i - 3) + at(r, i - 6) + at(r, i + 3) +
                            at(r, i + 6);
            row[i] = static_cast<uint8_t>(sum / SmoothingWeight);
        }
    }
}

Rgb DeviationMap::pixel(int beam, int frame) const
{
    const uint8_t *p = m_block.row(frame) + beam * 3;
    return {p[2], p[1], p[0]};
}

} // namespace dorvane
