#include "render/ImageDib.h"

#include <QImage>

namespace dorvane {

DibBlock dibFromImage(const QImage &image)
{
    if (image.isNull())
        return DibBlock(1, 1, 24);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    DibBlock dib(width, height, 24);
    for (int y = 0; y < height; ++y) {
        // Bitmap rows run from the bottom of the picture upwards.
        const auto *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(height - 1 - y));
        uint8_t *target = dib.row(y);
        for (int x = 0; x < width; ++x) {
            target[3 * x] = static_cast<uint8_t>(qBlue(source[x]));
            target[3 * x + 1] = static_cast<uint8_t>(qGreen(source[x]));
            target[3 * x + 2] = static_cast<uint8_t>(qRed(source[x]));
        }
    }
    return dib;
}

} // namespace dorvane
