#pragma once

#include "FrameTools.h"
#include "display/SonarImage.h"
#include "render/FrameOverlay.h"

#include <QWidget>

namespace dorvane {

// The square window that shows a sonar picture with its overlay. It paints
// only through drawFramePicture, so what it shows is exactly what the exports
// and the batch tool draw.
class FrameView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ViewSize = 500;

    explicit FrameView(QWidget *parent = nullptr, int size = ViewSize);

    SonarImage &image() { return m_image; }
    const SonarImage &image() const { return m_image; }
    FrameOverlay &overlay() { return m_overlay; }
    const FrameOverlay &overlay() const { return m_overlay; }

    // Draws the picture and its overlay into rect, or black when there is no
    // picture.
    void draw(QPainter &painter, const QRect &rect, bool showTexts) const;
    // Forgets the frame: overlay reset, picture back to the background.
    void resetView();

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
    SonarImage m_image;
    FrameOverlay m_overlay;
    FrameTools m_tools{m_overlay};
    bool m_toolsLocked = false;
};

} // namespace dorvane
