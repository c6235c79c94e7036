#include "core/export/PngEncoder.h"

#include <string_view>
#include <zlib.h>

namespace dorvane {

namespace {

// PNG numbers are big-endian.
void appendU32(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void appendChunk(std::vector<uint8_t> &out, std::string_view type, const uint8_t *data, size_t size)
{
    appendU32(out, static_cast<uint32_t>(size));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data, data + size);
    // The check sum covers the type and the data.
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(type.size() + size));
    appendU32(out, static_cast<uint32_t>(crc));
}

} // namespace

std::vector<uint8_t> encodePng(const RgbPicture &picture)
{
    if (picture.width < 1 || picture.height < 1)
        return {};
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    if (picture.pixels.size() != stride * static_cast<size_t>(picture.height))
        return {};

    // Each row goes with filter type 0: the pictures are charts, renderings
    // and sonar frames, which deflate well as they are.
    std::vector<uint8_t> rows;
    rows.reserve((stride + 1) * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        rows.push_back(0);
        const auto row = picture.pixels.begin() + static_cast<ptrdiff_t>(stride) * y;
        rows.insert(rows.end(), row, row + static_cast<ptrdiff_t>(stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};

    std::vector<uint8_t> header;
    appendU32(header, static_cast<uint32_t>(picture.width));
    appendU32(header, static_cast<uint32_t>(picture.height));
    // 8 bits a sample, truecolour, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    appendChunk(png, "IHDR", header.data(), header.size());
    appendChunk(png, "IDAT", packed.data(), packedSize);
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace dorvane
