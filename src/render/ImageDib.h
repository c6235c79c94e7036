#pragma once

#include "core/display/DibBlock.h"

class QImage;

namespace dorvane {

// A 24-bit bitmap of the picture, ready for writeBmpFile: rows bottom row
// first, each pixel blue, green, red, rows padded to 4 bytes. Transparency is
// dropped. A null picture gives DibBlock's smallest picture, one black pixel.
DibBlock dibFromImage(const QImage &image);

} // namespace dorvane
