#pragma once

#include "core/display/Palette.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

// A device-independent bitmap in one block: the 40-byte info header, a colour
// table of 2^bpp entries for 8 bits per pixel or fewer, then the rows bottom
// row first, each padded to a multiple of 4 bytes.
class DibBlock
{
public:
    static constexpr size_t InfoHeaderSize = 40;

    // An all-zero picture; width and height at least 1, bitsPerPixel one of
    // 1, 4, 8, 16, 24 or 32.
    DibBlock(int width, int height, int bitsPerPixel);

    static size_t strideFor(int width, int bitsPerPixel);
    static size_t colourTableBytesFor(int bitsPerPixel);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitsPerPixel() const { return m_bitsPerPixel; }
    size_t stride() const { return strideFor(m_width, m_bitsPerPixel); }
    size_t colourTableBytes() const { return colourTableBytesFor(m_bitsPerPixel); }

    // The whole block, as written after a BMP file header.
    std::span<const uint8_t> bytes() const { return m_bytes; }
    size_t size() const { return m_bytes.size(); }

    void setColour(int index, PaletteEntry colour);
    void setColours(const Palette &palette);
    // Row y counted from the bottom.
    uint8_t *row(int y);
    const uint8_t *row(int y) const;

private:
    int m_width;
    int m_height;
    int m_bitsPerPixel;
    std::vector<uint8_t> m_bytes;
};

} // namespace dorvane
