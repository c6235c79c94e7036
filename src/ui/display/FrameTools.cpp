#include "ui/display/FrameTools.h"

#include "core/data/FrameHeader.h"
#include "core/display/PictureGeometry.h"
#include "render/FrameOverlay.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {
constexpr int WheelNotch = 120;
constexpr int MaxNotches = 2;

QPoint toImage(QPoint viewPoint, int width)
{
    return {viewPoint.x() * PictureSize / width, viewPoint.y() * PictureSize / width};
}

void keepHeaderCircleInPicture(FrameHeader &header)
{
    const ScreenPoint centre =
        keepCircleInPicture({header.circleX, header.circleY}, circleRadiusPixels(header));
    header.circleX = static_cast<uint16_t>(centre.x);
    header.circleY = static_cast<uint16_t>(centre.y);
}
} // namespace

bool FrameTools::circleShown() const
{
    return m_overlay.header && m_overlay.header->circleOn && m_overlay.showCircle;
}

bool FrameTools::rulerShown() const
{
    return m_overlay.header && m_overlay.header->rulerOn && m_overlay.showRuler;
}

void FrameTools::cancel()
{
    m_draggingCircle = false;
    m_drawingRuler = false;
}

void FrameTools::beginCircleDrag(QPoint viewPoint, int width)
{
    m_draggingCircle = true;
    if (circleShown())
        m_lastPoint = toImage(viewPoint, width);
}

std::optional<FrameEdit> FrameTools::beginRuler(QPoint viewPoint, int width)
{
    m_drawingRuler = true;
    if (!rulerShown())
        return std::nullopt;
    // Only a press inside the picture's disc starts a ruler.
    const double dx = viewPoint.x() - width / 2.0;
    const double dy = viewPoint.y() - width / 2.0;
    if (static_cast<int>(std::sqrt(dx * dx + dy * dy)) > width / 2) {
        m_drawingRuler = false;
        return std::nullopt;
    }
    const QPoint p = toImage(viewPoint, width);
    m_lastPoint = p;
    return [p](FrameHeader &h) {
        h.rulerX1 = h.rulerX2 = static_cast<uint16_t>(p.x());
        h.rulerY1 = h.rulerY2 = static_cast<uint16_t>(p.y());
    };
}

std::optional<FrameEdit> FrameTools::dragTo(QPoint viewPoint, int width)
{
    if (!m_draggingCircle && !m_drawingRuler)
        return std::nullopt;
    const QPoint clamped(std::clamp(viewPoint.x(), 0, width), std::clamp(viewPoint.y(), 0, width));
    const QPoint p = toImage(clamped, width);
    const QPoint move = p - m_lastPoint;
    m_lastPoint = p;
    const bool moveCircle = m_draggingCircle && circleShown();
    const bool moveRuler = m_drawingRuler && rulerShown();
    if (!moveCircle && !moveRuler)
        return std::nullopt;
    const ScreenPoint rulerEnd = projectOntoDisc({p.x(), p.y()});
    return [moveCircle, moveRuler, move, rulerEnd](FrameHeader &h) {
        if (moveCircle) {
            const ScreenPoint centre = keepCircleInPicture(
                {h.circleX + move.x(), h.circleY + move.y()}, circleRadiusPixels(h));
            h.circleX = static_cast<uint16_t>(centre.x);
            h.circleY = static_cast<uint16_t>(centre.y);
        }
        if (moveRuler) {
            h.rulerX2 = static_cast<uint16_t>(rulerEnd.x);
            h.rulerY2 = static_cast<uint16_t>(rulerEnd.y);
        }
    };
}

std::optional<FrameEdit> FrameTools::changeRadius(int wheelDelta) const
{
    const int notches = wheelDelta / WheelNotch;
    // A fine-grained wheel sends less than a notch at a time: that changes
    // nothing, and neither does a burst of more than two notches.
    if (!m_overlay.header || notches == 0 || std::abs(notches) > MaxNotches)
        return std::nullopt;
    return [notches](FrameHeader &h) {
        if (h.circleOn) {
            const int radius = h.pipeRadius + static_cast<int>(0.1 * notches * 20);
            h.pipeRadius = static_cast<uint16_t>(
                std::min(std::max(radius, MinimumPipeRadiusMm), int{h.detectRadius}));
        }
        // A larger circle may no longer fit where it was.
        keepHeaderCircleInPicture(h);
    };
}

} // namespace dorvane
