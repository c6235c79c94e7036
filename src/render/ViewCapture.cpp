#include "render/ViewCapture.h"

#include "core/export/BmpFile.h"
#include "render/ImageDib.h"

#include <QImage>
#include <unistd.h>

namespace dorvane {

std::optional<DibBlock> captureDib(const QImage &surface, const QRect &rect, int bitsPerPixel)
{
    if (bitsPerPixel != 0 && bitsPerPixel != 24)
        return std::nullopt;
    if (surface.isNull() || rect.isEmpty() || !surface.rect().contains(rect))
        return std::nullopt;
    return dibFromImage(surface.copy(rect));
}

bool saveSurfaceAreaAsBmp(const std::string &path, const QImage &surface, const QRect &rect)
{
    const std::optional<DibBlock> block = captureDib(surface, rect, 24);
    if (block && writeBmpFile(path, *block))
        return true;
    ::unlink(path.c_str());
    return false;
}

} // namespace dorvane
