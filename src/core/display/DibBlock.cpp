#include "core/display/DibBlock.h"

#include "core/base/ByteOrder.h"

namespace dorvane {

DibBlock::DibBlock(int width, int height, int bitsPerPixel)
    : m_width(width < 1 ? 1 : width), m_height(height < 1 ? 1 : height),
      m_bitsPerPixel(bitsPerPixel)
{
    m_bytes.assign(InfoHeaderSize + colourTableBytes() + stride() * static_cast<size_t>(m_height),
                   0);
    uint8_t *h = m_bytes.data();
    le::writeU32(h + 0, InfoHeaderSize);
    le::writeI32(h + 4, m_width);
    le::writeI32(h + 8, m_height); // positive: rows stored bottom-up
    le::writeU16(h + 12, 1);       // planes
    le::writeU16(h + 14, static_cast<uint16_t>(m_bitsPerPixel));
    // Compression (none) and the remaining fields stay 0.
}

size_t DibBlock::strideFor(int width, int bitsPerPixel)
{
    return ((static_cast<size_t>(bitsPerPixel) * static_cast<size_t>(width) + 31) / 32) * 4;
}

size_t DibBlock::colourTableBytesFor(int bitsPerPixel)
{
    return bitsPerPixel <= 8 ? (size_t{1} << bitsPerPixel) * 4 : 0;
}

void DibBlock::setColour(int index, PaletteEntry colour)
{
    if (index < 0 || static_cast<size_t>(index) * 4 >= colourTableBytes())
        return;
    uint8_t *p = m_bytes.data() + InfoHeaderSize + static_cast<size_t>(index) * 4;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
    p[3] = colour.reserved;
}

void DibBlock::setColours(const Palette &palette)
{
    for (size_t i = 0; i < palette.size(); ++i)
        setColour(static_cast<int>(i), palette[i]);
}

uint8_t *DibBlock::row(int y)
{
    return m_bytes.data() + InfoHeaderSize + colourTableBytes() + stride() * static_cast<size_t>(y);
}

const uint8_t *DibBlock::row(int y) const
{
    return m_bytes.data() + InfoHeaderSize + colourTableBytes() + stride() * static_cast<size_t>(y);
}

} // namespace dorvane
