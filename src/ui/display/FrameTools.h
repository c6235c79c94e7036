#pragma once

#include <QPoint>

namespace dorvane {

struct FrameHeader;
class FrameOverlay;

// The circle tool (left button, wheel) and the measuring ruler (right button)
// on a square view of a frame. They write straight into the shown frame's
// header and say when they did, so that the caller can announce the edit.
// View points are in view pixels; the header holds image pixels (0..500).
class FrameTools
{
public:
    explicit FrameTools(FrameOverlay &overlay) : m_overlay(overlay) {}

    // The header the tools edit: the one the overlay shows, or none.
    void setHeader(FrameHeader *header) { m_header = header; }

    void beginCircleDrag(QPoint viewPoint, int width);
    // True when the press changed the header.
    bool beginRuler(QPoint viewPoint, int width);
    // True when the move changed the header.
    bool dragTo(QPoint viewPoint, int width);
    void endCircleDrag();
    void endRuler();
    // Wheel notches change the pipe radius by 2 mm each (at most two at a
    // time) while the circle tool is on; the number of edits made.
    int changeRadius(int wheelDelta);

private:
    FrameHeader *shownHeader() const;
    bool circleShown() const;
    bool rulerShown() const;
    void keepCircleInPicture(FrameHeader &header) const;

    FrameOverlay &m_overlay;
    FrameHeader *m_header = nullptr;
};

} // namespace dorvane
