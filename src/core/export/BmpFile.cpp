#include "core/export/BmpFile.h"

#include "core/base/AtomicFile.h"
#include "core/base/ByteOrder.h"
#include "core/display/DibBlock.h"
#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"

#include <array>
#include <cstring>

namespace dorvane {

bool writeBmpFile(const std::string &path, std::span<const uint8_t> block)
{
    // The info header must be there before its bit depth can be trusted.
    if (block.size() < DibBlock::InfoHeaderSize)
        return false;
    const size_t colourTableBytes = DibBlock::colourTableBytesFor(le::readU16(block.data() + 14));
    if (colourTableBytes + 4 >= block.size())
        return false;

    std::array<uint8_t, BmpFileHeaderSize> fileHeader{};
    le::writeU16(fileHeader.data() + 0, 0x4D42); // "BM"
    le::writeU32(fileHeader.data() + 2, static_cast<uint32_t>(BmpFileHeaderSize + block.size()));
    le::writeU32(
        fileHeader.data() + 10,
        static_cast<uint32_t>(BmpFileHeaderSize + DibBlock::InfoHeaderSize + colourTableBytes));

    // A picture cut short is no use: it appears whole or not at all.
    AtomicFile file;
    return file.open(path) && file.file().write(fileHeader.data(), fileHeader.size()) &&
           file.file().write(block.data(), block.size()) && file.commit();
}

bool writeBmpFile(const std::string &path, const DibBlock &block)
{
    return writeBmpFile(path, block.bytes());
}

DibBlock dibFromSonarImage(const SonarImage &image)
{
    DibBlock dib(PictureSize, PictureSize, 8);
    dib.setColours(image.palette());
    for (int y = 0; y < PictureSize; ++y)
        std::memcpy(dib.row(y), image.pixels() + y * PictureSize, PictureSize);
    return dib;
}

} // namespace dorvane
