#include "render/FrameOverlay.h"

#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/base/GbkText.h"
#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "core/display/PictureGeometry.h"
#include "render/OverlayFont.h"

#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace dorvane {

namespace {

QString fromUtf8(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// Image pixel coordinate to view pixels for a picture width pixels wide. The
// overlay is laid out for the sonar picture's own size.
int scaled(int coordinate, int width)
{
    return static_cast<int>(static_cast<int64_t>(coordinate) * width / PictureSize);
}

// A rectangle between two vertical and two horizontal edges given in either
// order; the larger edges lie just outside it.
QRect spanRect(int x1, int y1, int x2, int y2)
{
    return QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
}

// The ellipse inscribed in a box whose right and bottom edges lie outside it,
// so that an ellipse in (0, 0, W, W) stays inside a W-pixel picture.
void drawEllipseIn(QPainter &painter, int left, int top, int right, int bottom)
{
    if (right - left < 1 || bottom - top < 1)
        return;
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

// A dial with a needle through its centre at angle degrees: 0 points the
// arrowhead straight down, positive angles turn it clockwise. The angle is
// kept in single precision and every offset is cut toward zero, so the
// needle lands on the same pixels at every redraw.
void drawGauge(QPainter &painter, int left, int top, int right, int bottom, float angle)
{
    drawEllipseIn(painter, left, top, right, bottom);
    const int radius = (right - left) / 2;
    const int cx = (left + right) / 2;
    const int cy = (top + bottom) / 2;
    const float a = (angle + 90.0f) * 0.017453292f;
    if (!std::isfinite(a))
        return; // a damaged header: the dial without a needle
    const int dx = static_cast<int>(static_cast<float>(radius) * std::cos(a));
    const int dy = static_cast<int>(static_cast<float>(radius) * std::sin(a));
    const QPoint tip(cx + dx, cy + dy);
    painter.drawLine(QPoint(cx - dx, cy - dy), tip);
    for (const float barb : {a + 0.52359873f, a - 0.52359873f}) {
        const QPoint back(static_cast<int>(10.0f * std::cos(barb)),
                          static_cast<int>(10.0f * std::sin(barb)));
        painter.drawLine(tip, tip - back);
    }
}

void drawGauges(QPainter &painter, const FrameHeader &header)
{
    drawGauge(painter, 0, 430, 70, 500, header.roll);
    drawOverlayText(painter, spanRect(0, 414, 70, 430), QStringLiteral("ROLL"), TextAlign::Left,
                    true);
    drawOverlayText(painter, spanRect(70, 484, 140, 500), QString::asprintf("%+.1f", header.roll),
                    TextAlign::Left, true);

    drawGauge(painter, 430, 430, 500, 500, header.tilt - 90.0f);
    drawOverlayText(painter, spanRect(430, 414, 500, 430), QStringLiteral("PITCH"),
                    TextAlign::Right, true);
    drawOverlayText(painter, spanRect(360, 484, 430, 500), QString::asprintf("%+.1f", header.tilt),
                    TextAlign::Right, true);
}

QString titleText(const FrameHeader &header, const AnimationFileHeader *pipeInfo)
{
    QString title = fromUtf8(gbkToUtf8(header.titleText()));
    if (pipeInfo && (!pipeInfo->startWell().empty() || !pipeInfo->endWell().empty())) {
        title += QString::asprintf("\r\n%s-%s", gbkToUtf8(pipeInfo->startWell()).c_str(),
                                   gbkToUtf8(pipeInfo->endWell()).c_str());
    }
    return title;
}

QString bottomLabel(const FrameOverlay &overlay, const FrameHeader &header)
{
    if (overlay.bottomLabelMode) {
        if (header.excludeSediment != 0)
            return {};
        return QString::asprintf("%s %d", loadText(text::SedimentDepthLabel).c_str(),
                                 overlay.sedimentDepthMm);
    }
    return header.defectFrame ? fromUtf8(loadText(text::DefectFrameLabel)) : QString();
}

// Cross, diagonals and four rings at 100, 75, 50 and 25 % of the picture
// radius; the rings are labelled in millimetres only when the header's scale
// can be trusted.
void drawGrid(QPainter &painter, int width, const FrameHeader &header, const QColor &colour)
{
    const QPen gridPen(colour, 1);
    const QPen textPen(Qt::white, 1);
    painter.setPen(gridPen);
    const int c = width / 2;
    const int o = width * 74 / PictureSize;
    painter.drawLine(0, c, width, c);
    painter.drawLine(c, 0, c, width);
    painter.drawLine(o, o, width - o, width - o);
    painter.drawLine(o, width - o, width - o, o);

    const bool labelled = isConsistentHeader(header);
    for (int k = 4; k >= 1; --k) {
        const int inset = ((4 - k) * c) / 4;
        drawEllipseIn(painter, inset, inset, width - inset, width - inset);
        if (!labelled)
            continue;
        // Just below the horizontal axis, inside the ring's right-hand edge.
        const int mm = static_cast<int>(header.detectRadius * k * 0.25 + 0.5);
        const QRect rect = spanRect(c + (k - 1) * width / 8, c, width - inset, width - inset);
        painter.setPen(textPen);
        drawOverlayText(painter, rect, QString::asprintf("%dmm", mm), TextAlign::Centre, true);
        painter.setPen(gridPen);
    }
}

// The label sits at the ruler's first end point, on the side away from the
// ruler and from the picture edge.
void drawRuler(QPainter &painter, int width, const FrameHeader &header)
{
    const int x1 = header.rulerX1;
    const int y1 = header.rulerY1;
    const int x2 = header.rulerX2;
    const int y2 = header.rulerY2;
    painter.drawLine(scaled(x1, width), scaled(y1, width), scaled(x2, width), scaled(y2, width));
    const int mm = header.rulerLengthMm();
    if (mm <= 0)
        return;
    const bool above = (y1 < y2 && y1 > 50) || y1 > 450;
    const bool leftOf = (x1 < x2 && x1 > 50) || x1 > 450;
    const QRect rect = spanRect(x1, y1, leftOf ? 0 : PictureSize,
                                above ? y1 - OverlayLinePitch : y1 + OverlayLinePitch);
    drawOverlayText(painter, rect, QString::asprintf("%dmm", mm),
                    leftOf ? TextAlign::Right : TextAlign::Left, false);
}

void drawCircle(QPainter &painter, int width, const FrameHeader &header)
{
    const DrawnCircle circle = drawnCircle(header);
    const int r = circle.radius;
    const ScreenPoint c = circle.centre;
    drawEllipseIn(painter, scaled(c.x - r, width), scaled(c.y - r, width), scaled(c.x + r, width),
                  scaled(c.y + r, width));

    // The diameter is written at the point of the circle 45 degrees towards
    // the picture centre, seen from the centre the operator placed.
    const int offset = r * 71 / 100;
    const int sx = header.circleX > PictureCentre.x ? -1 : 1;
    const int sy = header.circleY > PictureCentre.y ? -1 : 1;
    const int ax = header.circleX + sx * offset;
    const int ay = header.circleY + sy * offset;
    const QRect rect = spanRect(ax, ay, sx > 0 ? PictureSize : 0, ay + sy * OverlayLinePitch);
    drawOverlayText(painter, rect, QString::asprintf("%dmm", 2 * header.pipeRadius),
                    sx > 0 ? TextAlign::Left : TextAlign::Right, false);
}

const QString &headerErrorText()
{
    static const QString text = fromUtf8(loadText(text::FrameHeaderError));
    return text;
}

} // namespace

FrameOverlay::FrameOverlay() = default;

void FrameOverlay::reset()
{
    header = nullptr;
    frameIndex = 0;
    frameCount = 0;
    fps = 0;
    averageSediment = 0;
    sedimentDepthMm = 0;
    showCircle = true;
    showRuler = true;
    showGauges = true;
}

void FrameOverlay::setFrame(const FrameHeader *frameHeader, const AnimationFileHeader *fileHeader,
                            int index, int count)
{
    header = frameHeader;
    pipeInfo = fileHeader;
    frameIndex = index;
    frameCount = count;
    averageSediment = -1;
    sedimentDepthMm = -1;
}

void FrameOverlay::draw(QPainter &painter, int width, bool showTexts) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QPen white(Qt::white, 1);
    painter.setPen(white);
    painter.setFont(overlayFont());

    const auto topText = [&](const QRect &rect, const QString &text, TextAlign align,
                             bool singleLine) {
        if (outlineTopTexts) {
            painter.setPen(Qt::black);
            for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
                drawOverlayText(painter, rect.translated(offset), text, align, singleLine);
            painter.setPen(white);
        }
        drawOverlayText(painter, rect, text, align, singleLine);
    };
    if (frameCount != 0) {
        topText(QRect(0, 0, width, width), QString::asprintf("%4d/%4d", frameIndex + 1, frameCount),
                TextAlign::Left, true);
    }
    if (fps != 0) {
        topText(spanRect(0, OverlayLinePitch, width, width),
                QString::asprintf("%5d fps", static_cast<int>(fps)), TextAlign::Left, true);
    }
    if (header) {
        topText(spanRect(430, 0, 500, 70), QString::asprintf("CABLE\r\n%.2fm", header->cableLength),
                TextAlign::Right, false);
        if (showGauges)
            drawGauges(painter, *header);
    }
    if (!showTexts || !header) {
        painter.restore();
        return;
    }

    if (showTitle) {
        drawOverlayText(painter, spanRect(70, 0, 430, 48), titleText(*header, pipeInfo),
                        TextAlign::Centre, false);
    }
    if (showNotes) {
        drawOverlayText(painter, spanRect(0, 32, PictureSize, PictureSize),
                        fromUtf8(gbkToUtf8(header->notesText())), TextAlign::Centre, false);
    }
    const QString label = bottomLabel(*this, *header);
    if (!label.isEmpty())
        drawOverlayText(painter, spanRect(70, 484, 430, 500), label, TextAlign::Centre, true);

    if (showGrid)
        drawGrid(painter, width, *header, gridColour);
    painter.setPen(white);
    if (header->rulerOn && showRuler)
        drawRuler(painter, width, *header);
    if (header->circleOn && showCircle)
        drawCircle(painter, width, *header);
    if (!isConsistentHeader(*header))
        drawOverlayText(painter, spanRect(0, PictureCentre.y, PictureSize, PictureSize),
                        headerErrorText(), TextAlign::Centre, false);
    painter.restore();
}

} // namespace dorvane
