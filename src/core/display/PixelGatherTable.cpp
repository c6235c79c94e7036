#include "core/display/PixelGatherTable.h"

#include "core/data/FrameRecord.h"
#include "core/display/PixelMapTable.h"

#include <algorithm>

namespace dorvane {

namespace {
constexpr int Unpainted = -1;
constexpr int MaxOffset = UINT16_MAX;
} // namespace

const PixelGatherTable &PixelGatherTable::instance()
{
    static const PixelGatherTable table;
    return table;
}

PixelGatherTable::PixelGatherTable()
{
    const PixelMapTable &map = PixelMapTable::instance();
    std::vector<int> lastWriter(ImageSize * ImageSize, Unpainted);
    for (int cell = 0; cell < SampleCount; ++cell)
        for (uint32_t code : map.cell(cell))
            lastWriter[static_cast<size_t>(pixelCodeY(code) * ImageSize + pixelCodeX(code))] = cell;

    m_cellOffsets.reserve(200000);
    for (int y = 0; y < ImageSize; ++y) {
        const int *row = &lastWriter[static_cast<size_t>(y * ImageSize)];
        int x = 0;
        while (x < ImageSize) {
            while (x < ImageSize && row[x] == Unpainted)
                ++x;
            if (x == ImageSize)
                break;
            const int start = x;
            int low = row[x], high = row[x];
            while (x < ImageSize && row[x] != Unpainted) {
                const int newLow = std::min(low, row[x]), newHigh = std::max(high, row[x]);
                if (newHigh - newLow > MaxOffset)
                    break;
                low = newLow;
                high = newHigh;
                ++x;
            }
            m_segments.push_back({static_cast<uint32_t>(y * ImageSize + start),
                                  static_cast<uint32_t>(m_cellOffsets.size()),
                                  static_cast<uint32_t>(low), static_cast<uint32_t>(x - start)});
            for (int i = start; i < x; ++i)
                m_cellOffsets.push_back(static_cast<uint16_t>(row[i] - low));
        }
    }
}

} // namespace dorvane
