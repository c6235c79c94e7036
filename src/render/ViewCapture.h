#pragma once

#include "core/display/DibBlock.h"

#include <QRect>
#include <optional>
#include <string>

class QImage;

namespace dorvane {

// A rectangle of a drawn picture as a bitmap block. Bits per pixel 0 stands
// for the display's depth, which is always true colour here: both give 24
// bits per pixel. Nothing for other depths or a rectangle that is empty or
// not inside the picture.
std::optional<DibBlock> captureDib(const QImage &surface, const QRect &rect, int bitsPerPixel);

// The rectangle as a 24-bit BMP file. On failure no file is left at path,
// not even an older one of that name: a picture that looks saved must be
// the one asked for.
bool saveSurfaceAreaAsBmp(const std::string &path, const QImage &surface, const QRect &rect);

} // namespace dorvane
