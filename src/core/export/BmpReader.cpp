#include "core/export/BmpReader.h"

#include "core/base/ByteOrder.h"
#include "core/base/PosixFile.h"

#include <cstdlib>
#include <vector>

namespace dorvane {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
constexpr int MaxSide = 32768;
constexpr uint64_t MaxPixels = 64ull * 1024 * 1024;

struct BmpLayout
{
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    size_t pixelOffset = 0;
    size_t stride = 0;
    std::vector<uint8_t> colours; // red, green, blue per table entry
};

std::optional<BmpLayout> layoutOf(const std::vector<uint8_t> &bytes)
{
    if (bytes.size() < FileHeaderSize + InfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const uint8_t *info = bytes.data() + FileHeaderSize;
    const uint32_t infoSize = le::readU32(info);
    const int32_t width = le::readI32(info + 4);
    const int32_t height = le::readI32(info + 8);
    const uint16_t planes = le::readU16(info + 12);
    const uint16_t bits = le::readU16(info + 14);
    const uint32_t compression = le::readU32(info + 16);
    const uint32_t coloursUsed = le::readU32(info + 32);
    if (infoSize < InfoHeaderSize || infoSize > bytes.size() - FileHeaderSize || planes != 1 ||
        compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    if (width < 1 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
        return std::nullopt;

    BmpLayout layout;
    layout.width = width;
    layout.height = std::abs(height);
    layout.topDown = height < 0;
    layout.bitsPerPixel = bits;
    if (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.height) > MaxPixels)
        return std::nullopt;
    layout.stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    layout.pixelOffset = le::readU32(bytes.data() + 10);
    if (layout.pixelOffset > bytes.size() ||
        (bytes.size() - layout.pixelOffset) / layout.stride < static_cast<size_t>(layout.height))
        return std::nullopt;

    if (bits <= 8) {
        const size_t maxEntries = size_t{1} << bits;
        const size_t entries = coloursUsed == 0 ? maxEntries : coloursUsed;
        const size_t tableOffset = FileHeaderSize + infoSize;
        if (entries > maxEntries || tableOffset + entries * 4 > layout.pixelOffset)
            return std::nullopt;
        layout.colours.assign(maxEntries * 3, 0);
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t *entry = bytes.data() + tableOffset + i * 4;
            layout.colours[i * 3 + 0] = entry[2];
            layout.colours[i * 3 + 1] = entry[1];
            layout.colours[i * 3 + 2] = entry[0];
        }
    }
    return layout;
}

void convertRow(const BmpLayout &layout, const uint8_t *in, uint8_t *out)
{
    const int bits = layout.bitsPerPixel;
    for (int x = 0; x < layout.width; ++x, out += 3) {
        if (bits >= 24) {
            const uint8_t *pixel = in + static_cast<size_t>(x) * (bits / 8);
            out[0] = pixel[2];
            out[1] = pixel[1];
            out[2] = pixel[0];
            continue;
        }
        // Indexed pixels are packed from the high bits of each byte down.
        const size_t bit = static_cast<size_t>(x) * bits;
        const int shift = 8 - bits - static_cast<int>(bit % 8);
        const unsigned index = (in[bit / 8] >> shift) & ((1u << bits) - 1);
        out[0] = layout.colours[index * 3 + 0];
        out[1] = layout.colours[index * 3 + 1];
        out[2] = layout.colours[index * 3 + 2];
    }
}

} // namespace

std::optional<RgbPicture> readBmpPicture(const std::string &path)
{
    PosixFile file;
    if (!file.open(path, PosixFile::Mode::Read))
        return std::nullopt;
    const auto size = file.size();
    constexpr uint64_t MaxFileBytes = MaxPixels * 4 + 64 * 1024;
    if (!size || *size > MaxFileBytes)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    if (!file.readAt(0, bytes.data(), bytes.size()))
        return std::nullopt;
    const auto layout = layoutOf(bytes);
    if (!layout)
        return std::nullopt;

    RgbPicture picture;
    picture.width = layout->width;
    picture.height = layout->height;
    const size_t outStride = static_cast<size_t>(picture.width) * 3;
    picture.pixels.resize(outStride * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const int stored = layout->topDown ? y : picture.height - 1 - y;
        convertRow(*layout,
                   bytes.data() + layout->pixelOffset +
                       static_cast<size_t>(stored) * layout->stride,
                   picture.pixels.data() + static_cast<size_t>(y) * outStride);
    }
    return picture;
}

} // namespace dorvane
