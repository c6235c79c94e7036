#pragma once

#include "core/export/RgbPicture.h"

#include <cstdint>
#include <vector>

namespace dorvane {

// The picture as a PNG file's bytes: 8-bit truecolour, not interlaced.
// Empty when the picture is malformed or cannot be compressed.
std::vector<uint8_t> encodePng(const RgbPicture &picture);

} // namespace dorvane
