#include "core/display/PixelGatherTable.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
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
    std::vector<int> lastWriter(PictureSize * PictureSize, Unpainted);
    for (int cell = 0; cell < SampleCount; ++cell)
        for (uint32_t code : map.cell(cell))
            lastWriter[static_cast<size_t>(pixelCodeY(code) * PictureSize + pixelCodeX(code))] =
                cell;

    m_cellOffsets.reserve(200000);
    for (int y = 0; y < PictureSize; ++y) {
        const int *row = &lastWriter[static_cast<size_t>(y * PictureSize)];
        int x = 0;
        while (x < PictureSize) {
            while (x < PictureSize && row[x] == Unpainted)
                ++x;
            if (x == PictureSize)
                break;
            const int start = x;
            int low = row[x], high = row[x];
            while (x < PictureSize && row[x] != Unpainted) {
                const int newLow = std::min(low, row[x]), newHigh = std::max(high, row[x]);
                if (newHigh - newLow > MaxOffset)
                    break;
                low = newLow;
                high = newHigh;
                ++x;
            }
            m_segments.push_back({static_cast<uint32_t>(y * PictureSize + start),
                                  static_cast<uint32_t>(m_cellOffsets.size()),
                                  static_cast<uint32_t>(low), static_cast<uint32_t>(x - start)});
            for (int i = start; i < x; ++i)
                m_cellOffsets.push_back(static_cast<uint16_t>(row[i] - low));
        }
    }
}

} // namespace dorvane
