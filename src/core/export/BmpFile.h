#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace dorvane {

class DibBlock;
class SonarImage;

constexpr size_t BmpFileHeaderSize = 14;

// Writes a BMP file: the 14-byte file header, then the whole bitmap block
// (info header, colour table, rows). False when the block is malformed or the
// file cannot be written completely; a file that fails is not left behind
// (see AtomicFile).
bool writeBmpFile(const std::string &path, std::span<const uint8_t> block);
bool writeBmpFile(const std::string &path, const DibBlock &block);

// The sonar picture as an 8-bit bitmap: its rows as they are, its palette as
// the colour table.
DibBlock dibFromSonarImage(const SonarImage &image);

} // namespace dorvane
