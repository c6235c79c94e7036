#include "render/SonarPicture.h"

#include "core/display/SonarImage.h"

#include <cstring>

namespace dorvane {

QImage sonarPicture(const SonarImage &image)
{
    QImage picture(ImageSize, ImageSize, QImage::Format_Indexed8);
    QList<QRgb> colours;
    colours.reserve(256);
    for (const PaletteEntry &entry : image.palette())
        colours.append(qRgb(entry.red, entry.green, entry.blue));
    picture.setColorTable(colours);
    // The sonar picture stores its bottom row first.
    for (int y = 0; y < ImageSize; ++y)
        std::memcpy(picture.scanLine(ImageSize - 1 - y), image.pixels() + y * ImageSize, ImageSize);
    return picture;
}

} // namespace dorvane
