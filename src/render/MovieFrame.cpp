#include "render/MovieFrame.h"

#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>

namespace dorvane {

MovieFrame::MovieFrame(int size)
    : m_picture(std::max(size, 1), std::max(size, 1), QImage::Format_RGB32),
      m_bitmap(std::max(size, 1), std::max(size, 1), 32)
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

const DibBlock &MovieFrame::draw(const SonarImage &image, const FrameOverlay &overlay,
                                 bool showTexts)
{
    if (image.isValid() && m_picture.width() == PictureSize) {
        // Unscaled, drawing the picture copies its colours: they are written
        // straight in, without the indexed picture and its conversion that
        // drawFramePicture() goes through.
        writeColours(image);
        QPainter painter(&m_picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        overlay.draw(painter, PictureSize, showTexts);
        painter.end();
    } else {
        QPainter painter(&m_picture);
        drawFramePicture(painter, m_picture.rect(), image, overlay, showTexts);
        painter.end();
    }
    // RGB32 holds blue, green, red and an unused byte, as a 32-bit bitmap
    // does; only the row order differs.
    const int height = m_picture.height();
    const size_t rowBytes = static_cast<size_t>(m_picture.width()) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(m_bitmap.row(y), m_picture.constScanLine(height - 1 - y), rowBytes);
    return m_bitmap;
}

} // namespace dorvane
