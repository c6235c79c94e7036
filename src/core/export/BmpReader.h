#pragma once

#include "core/export/RgbPicture.h"

#include <optional>
#include <string>

namespace dorvane {

// Reads an uncompressed BMP file of 1, 4, 8 (with colour table), 24 or 32
// bits per pixel, bottom-up or top-down. Nothing when the file cannot be
// read, is not such a BMP, is cut short or is implausibly large.
std::optional<RgbPicture> readBmpPicture(const std::string &path);

} // namespace dorvane
