#pragma once

#include "core/document/HeaderEdits.h"

#include <QPoint>
#include <optional>

namespace dorvane {

struct FrameHeader;
class FrameOverlay;

// The circle tool (left button, wheel) and the measuring ruler (right button)
// on a square view of a frame. They keep the state of the gesture and turn
// mouse input into edits of the shown frame's header; the caller has them
// applied to the survey. View points are in view pixels; the header holds
// image pixels (0..500).
class FrameTools
{
public:
    explicit FrameTools(const FrameOverlay &overlay) : m_overlay(overlay) {}

    void beginCircleDrag(QPoint viewPoint, int width);
    std::optional<FrameEdit> beginRuler(QPoint viewPoint, int width);
    std::optional<FrameEdit> dragTo(QPoint viewPoint, int width);
    void endCircleDrag() { m_draggingCircle = false; }
    void endRuler() { m_drawingRuler = false; }
    // Forgets any gesture (a view reset).
    void cancel();
    // Wheel notches change the pipe radius by 2 mm each (at most two at a
    // time) while the circle tool is on, and keep the circle in the picture.
    std::optional<FrameEdit> changeRadius(int wheelDelta) const;

    bool isDraggingCircle() const { return m_draggingCircle; }
    bool isDrawingRuler() const { return m_drawingRuler; }

private:
    bool circleShown() const;
    bool rulerShown() const;

    const FrameOverlay &m_overlay;
    QPoint m_lastPoint; // image pixels
    bool m_draggingCircle = false;
    bool m_drawingRuler = false;
};

} // namespace dorvane
