#include "render/FramePicture.h"

#include "core/display/SonarImage.h"
#include "render/FrameOverlay.h"
#include "render/SonarPicture.h"

#include <QPainter>

namespace dorvane {

void drawFramePicture(QPainter &painter, const QRect &rect, const SonarImage &image,
                      const FrameOverlay &overlay, bool showTexts)
{
    if (!image.isValid()) {
        painter.fillRect(rect, Qt::black);
        return;
    }
    painter.save();
    // Filtered, so that a picture drawn smaller or larger than 500 pixels
    // keeps its fine echoes instead of dropping rows and columns.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect, sonarPicture(image));
    painter.translate(rect.topLeft());
    overlay.draw(painter, rect.width(), showTexts);
    painter.restore();
}

QImage framePicture(const SonarImage &image, const FrameOverlay &overlay, int size, bool showTexts)
{
    if (size < 1)
        return {};
    QImage picture(size, size, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawFramePicture(painter, picture.rect(), image, overlay, showTexts);
    painter.end();
    return picture;
}

} // namespace dorvane
