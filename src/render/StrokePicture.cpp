#include "render/StrokePicture.h"

#include "core/display/DeviationColour.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"
#include "core/display/Sediment.h"
#include "render/FrameOverlay.h"

#include <QPainter>

namespace dorvane {

namespace {
const QColor Background(170, 170, 170);
const QColor BandOuter(200, 200, 200);
const QColor BandInner(180, 180, 180);
const QColor GridColour(72, 150, 150);
const QColor PointColour(80, 90, 200);
constexpr int GridLines = 50;

void fillDisc(QPainter &painter, QPoint centre, int radius, const QColor &colour)
{
    if (radius <= 0)
        return;
    painter.setBrush(colour);
    painter.drawEllipse(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius));
}
} // namespace

StrokeProfile makeStrokeProfile(const FrameHeader &header, std::vector<uint32_t> points)
{
    StrokeProfile profile;
    const ScreenPoint centre = pipeCentre(header);
    const ToleranceBand band = toleranceBand(header);
    profile.centre = QPoint(centre.x, centre.y);
    profile.innerRadius = band.inner;
    profile.outerRadius = band.outer;
    profile.points = std::move(points);
    return profile;
}

void drawStrokePicture(QPainter &painter, const QRect &rect, const StrokeProfile &profile,
                       const FrameOverlay &overlay)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(rect.topLeft());
    const int width = rect.width();
    painter.fillRect(QRect(0, 0, width, width), Background);

    if (!profile.points.empty()) {
        // The band in image pixels: its light outer half, its darker inner
        // half, and the inside of the circle in the background grey.
        painter.setPen(Qt::NoPen);
        const int inner = profile.innerRadius;
        const int middle = inner + ((profile.outerRadius - inner) >> 1);
        fillDisc(painter, profile.centre, profile.outerRadius, BandOuter);
        fillDisc(painter, profile.centre, middle, BandInner);
        fillDisc(painter, profile.centre, inner, Background);
    }

    painter.setPen(QPen(GridColour, 1));
    painter.setBrush(Qt::NoBrush);
    const int step = width / GridLines;
    for (int k = 0; k <= GridLines; ++k) {
        painter.drawLine(k * step, 0, k * step, width);
        painter.drawLine(0, k * step, width, k * step);
    }

    painter.setPen(PointColour);
    for (uint32_t code : profile.points) {
        const int x = pixelCodeX(code) * width / PictureSize;
        const int y = (PictureSize - pixelCodeY(code)) * width / PictureSize;
        painter.drawPoint(x, y);
    }
    painter.restore();

    painter.save();
    painter.translate(rect.topLeft());
    overlay.draw(painter, width, true);
    painter.restore();
}

} // namespace dorvane
