#include "OverlayProbe.h"

#include "render/FrameOverlay.h"
#include "render/OverlayFont.h"

#include <QPainter>

namespace dorvane::test {

QImage drawOverlay(const FrameOverlay &overlay, int size, bool showTexts)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    overlay.draw(painter, size, showTexts);
    painter.end();
    return image;
}

FrameHeader consistentHeader()
{
    FrameHeader header;
    header.signature = FrameHeader::Signature;
    header.detectRadius = 1000;
    header.pipeRadius = 300;
    header.cableLength = 12.5f;
    return header;
}

int brightCount(const QImage &image, const QRect &area)
{
    const QRect clipped = area & image.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += qRed(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

bool anyPixel(const QImage &image, const QRect &area, QRgb colour)
{
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

QImage textReference(const std::vector<ExpectedText> &texts, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(overlayFont());
    for (const ExpectedText &text : texts)
        painter.drawText(text.rect, text.flags, text.text);
    painter.end();
    return image;
}

::testing::AssertionResult sameTextPixels(const QImage &drawn, const QImage &reference,
                                          const QRect &area)
{
    const QRect clipped = area & drawn.rect() & reference.rect();
    if (brightCount(reference, clipped) == 0)
        return ::testing::AssertionFailure() << "the reference has no text in the area";
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qRed(drawn.pixel(x, y)) != qRed(reference.pixel(x, y)))
                return ::testing::AssertionFailure()
                       << "red " << qRed(drawn.pixel(x, y)) << " instead of "
                       << qRed(reference.pixel(x, y)) << " at (" << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
}

} // namespace dorvane::test
