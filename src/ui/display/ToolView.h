#pragma once

#include "render/FrameOverlay.h"
#include "ui/display/FrameTools.h"

#include <QWidget>

namespace dorvane {

// A square view of the shown frame with an overlay on which the circle tool
// and the measuring ruler work: the frame view and the stroke view.
class ToolView : public QWidget
{
    Q_OBJECT

public:
    ToolView(const char *name, int size, QWidget *parent);

    FrameOverlay &overlay() { return m_overlay; }
    const FrameOverlay &overlay() const { return m_overlay; }

    // Draws what the view shows into rect.
    virtual void draw(QPainter &painter, const QRect &rect, bool showTexts) const = 0;

    // The header the circle tool and the ruler edit: the shown frame's.
    void setEditableHeader(FrameHeader *header) { m_tools.setHeader(header); }
    // While locked the mouse tools do nothing (during playback).
    void setToolsLocked(bool locked) { m_toolsLocked = locked; }
    bool toolsLocked() const { return m_toolsLocked; }

signals:
    // The circle tool or the ruler changed the header.
    void frameEdited();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    FrameOverlay m_overlay;
    FrameTools m_tools{m_overlay};
    bool m_toolsLocked = false;
};

} // namespace dorvane
