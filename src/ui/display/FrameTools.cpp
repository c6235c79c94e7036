#include "ui/display/FrameTools.h"

#include "core/data/FrameHeader.h"
#include "core/display/PictureGeometry.h"
#include "render/FrameOverlay.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {
constexpr int PictureSize = 500;
constexpr int MinimumPipeRadius = 50;
constexpr int WheelNotch = 120;
constexpr int MaxNotches = 2;

QPoint toImage(QPoint viewPoint, int width)
{
    return {viewPoint.x() * PictureSize / width, viewPoint.y() * PictureSize / width};
}
} // namespace

FrameHeader *FrameTools::shownHeader() const
{
    // The tools only edit the header the overlay is showing.
    return m_overlay.header && m_overlay.header == m_header ? m_header : nullptr;
}

bool FrameTools::circleShown() const
{
    return shownHeader() && m_header->circleOn && m_overlay.showCircle;
}

bool FrameTools::rulerShown() const
{
    return shownHeader() && m_header->rulerOn && m_overlay.showRuler;
}

void FrameTools::beginCircleDrag(QPoint viewPoint, int width)
{
    m_overlay.draggingCircle = true;
    if (circleShown())
        m_overlay.lastPoint = toImage(viewPoint, width);
}

bool FrameTools::beginRuler(QPoint viewPoint, int width)
{
    m_overlay.drawingRuler = true;
    if (!rulerShown())
        return false;
    // Only a press inside the picture's disc starts a ruler.
    const double dx = viewPoint.x() - width / 2.0;
    const double dy = viewPoint.y() - width / 2.0;
    if (static_cast<int>(std::sqrt(dx * dx + dy * dy)) > width / 2) {
        m_overlay.drawingRuler = false;
        return false;
    }
    const QPoint p = toImage(viewPoint, width);
    m_header->rulerX1 = m_header->rulerX2 = static_cast<uint16_t>(p.x());
    m_header->rulerY1 = m_header->rulerY2 = static_cast<uint16_t>(p.y());
    m_overlay.lastPoint = p;
    return true;
}

bool FrameTools::dragTo(QPoint viewPoint, int width)
{
    if (!m_overlay.draggingCircle && !m_overlay.drawingRuler)
        return false;
    const QPoint clamped(std::clamp(viewPoint.x(), 0, width), std::clamp(viewPoint.y(), 0, width));
    const QPoint p = toImage(clamped, width);
    bool edited = false;
    if (m_overlay.draggingCircle && circleShown()) {
        const QPoint moved = QPoint(m_header->circleX, m_header->circleY) + p - m_overlay.lastPoint;
        const ScreenPoint centre =
            dorvane::keepCircleInPicture({moved.x(), moved.y()}, circleRadiusPixels(*m_header));
        m_header->circleX = static_cast<uint16_t>(centre.x);
        m_header->circleY = static_cast<uint16_t>(centre.y);
        edited = true;
    }
    if (m_overlay.drawingRuler && rulerShown()) {
        const ScreenPoint end = projectOntoDisc({p.x(), p.y()});
        m_header->rulerX2 = static_cast<uint16_t>(end.x);
        m_header->rulerY2 = static_cast<uint16_t>(end.y);
        edited = true;
    }
    m_overlay.lastPoint = p;
    return edited;
}

void FrameTools::endCircleDrag()
{
    m_overlay.draggingCircle = false;
}

void FrameTools::endRuler()
{
    m_overlay.drawingRuler = false;
}

void FrameTools::keepCircleInPicture(FrameHeader &header) const
{
    const ScreenPoint centre =
        dorvane::keepCircleInPicture({header.circleX, header.circleY}, circleRadiusPixels(header));
    header.circleX = static_cast<uint16_t>(centre.x);
    header.circleY = static_cast<uint16_t>(centre.y);
}

int FrameTools::changeRadius(int wheelDelta)
{
    const int notches = wheelDelta / WheelNotch;
    // A fine-grained wheel sends less than a notch at a time: that changes
    // nothing, and neither does a burst of more than two notches.
    FrameHeader *header = shownHeader();
    if (!header || notches == 0 || std::abs(notches) > MaxNotches)
        return 0;
    int edits = 0;
    if (header->circleOn) {
        int radius = header->pipeRadius + static_cast<int>(0.1 * notches * 20);
        if (radius < MinimumPipeRadius)
            radius = MinimumPipeRadius;
        if (radius > header->detectRadius)
            radius = header->detectRadius;
        header->pipeRadius = static_cast<uint16_t>(radius);
        ++edits;
    }
    // A larger circle may no longer fit where it was.
    keepCircleInPicture(*header);
    return edits + 1;
}

} // namespace dorvane
