#include "render/MovieFrame.h"

#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"
#include "core/export/AviMovieWriter.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstddef>

namespace dorvane {

MovieFrame::MovieFrame(int size)
    : m_picture(std::max(size, 1), std::max(size, 1), QImage::Format_RGB32)
{}

void MovieFrame::writeColours(const SonarImage &image)
{
    std::array<QRgb, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        const PaletteEntry &entry = image.palette()[i];
        colours[i] = qRgb(entry.red, entry.green, entry.blue);
    }
    // The sonar picture stores its bottom row first.
    for (int y = 0; y < PictureSize; ++y) {
        const uint8_t *source = image.pixels() + static_cast<size_t>(y) * PictureSize;
        auto *target = reinterpret_cast<QRgb *>(m_picture.scanLine(PictureSize - 1 - y));
        for (int x = 0; x < PictureSize; ++x)
            target[x] = colours[source[x]];
    }
}

const QImage &MovieFrame::draw(const SonarImage &image, const FrameOverlay &overlay, bool showTexts)
{
    if (image.isValid() && m_picture.width() == PictureSize) {
        // Unscaled, drawing the picture copies its colours: they are written
        // straight in, without the indexed picture and its conversion that
        // drawFramePicture() goes through.
        writeColours(image);
        QPainter painter(&m_picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        overlay.draw(painter, PictureSize, showTexts);
    } else {
        QPainter painter(&m_picture);
        drawFramePicture(painter, m_picture.rect(), image, overlay, showTexts);
    }
    return m_picture;
}

int32_t appendPicture(AviMovieWriter &writer, const QImage &picture)
{
    // RGB32 holds blue, green, red and an unused byte, as a 32-bit bitmap
    // does; only the order of the rows differs, which the writer is told.
    const bool asItIs =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage rgb = asItIs ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int height = rgb.height();
    return writer.appendFrameRows(rgb.width(), height, rgb.constScanLine(std::max(height - 1, 0)),
                                  -static_cast<ptrdiff_t>(rgb.bytesPerLine()), 32);
}

} // namespace dorvane
