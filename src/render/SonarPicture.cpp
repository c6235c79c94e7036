#include "render/SonarPicture.h"

#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"

#include <cstring>

namespace dorvane {

QImage sonarPicture(const SonarImage &image)
{
    QImage picture(PictureSize, PictureSize, QImage::Format_Indexed8);
    QList<QRgb> colours;
    colours.reserve(256);
    for (const PaletteEntry &entry : image.palette())
        colours.append(qRgb(entry.red, entry.green, entry.blue));
    picture.setColorTable(colours);
    // The sonar picture stores its bottom row first.
    for (int y = 0; y < PictureSize; ++y)
        std::memcpy(picture.scanLine(PictureSize - 1 - y), image.pixels() + y * PictureSize,
                    PictureSize);
    return picture;
}

} // namespace dorvane
