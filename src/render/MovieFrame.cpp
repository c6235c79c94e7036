#include "render/MovieFrame.h"

#include "render/FramePicture.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace dorvane {

MovieFrame::MovieFrame(int size)
    : m_picture(std::max(size, 1), std::max(size, 1), QImage::Format_RGB32),
      m_bitmap(std::max(size, 1), std::max(size, 1), 32)
{}

const DibBlock &MovieFrame::draw(const SonarImage &image, const FrameOverlay &overlay,
                                 bool showTexts)
{
    QPainter painter(&m_picture);
    drawFramePicture(painter, m_picture.rect(), image, overlay, showTexts);
    painter.end();
    // RGB32 holds blue, green, red and an unused byte, as a 32-bit bitmap
    // does; only the row order differs.
    const int height = m_picture.height();
    const size_t rowBytes = static_cast<size_t>(m_picture.width()) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(m_bitmap.row(y), m_picture.constScanLine(height - 1 - y), rowBytes);
    return m_bitmap;
}

} // namespace dorvane
