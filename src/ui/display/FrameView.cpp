#include "FrameView.h"

#include "render/FramePicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace dorvane {

FrameView::FrameView(QWidget *parent, int size) : QWidget(parent)
{
    setObjectName("frameView");
    setFixedSize(size, size);
    setFocusPolicy(Qt::StrongFocus);
    // Everything is painted in paintEvent; no background erase in between.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FrameView::draw(QPainter &painter, const QRect &rect, bool showTexts) const
{
    drawFramePicture(painter, rect, m_image, m_overlay, showTexts);
}

void FrameView::resetView()
{
    m_overlay.reset();
    m_image.reset();
    update();
}

void FrameView::paintEvent(QPaintEvent *)
{
    const QRect area = rect();
    if (area.isEmpty() || area.width() != area.height())
        return;
    QPainter painter(this);
    draw(painter, area, true);
}

void FrameView::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_toolsLocked || !rect().contains(point))
        return;
    setFocus();
    if (event->button() == Qt::LeftButton) {
        m_tools.beginCircleDrag(point, width());
        update();
    } else if (event->button() == Qt::RightButton) {
        if (m_tools.beginRuler(point, width()))
            emit frameEdited();
        update();
    }
}

void FrameView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tools.dragTo(event->position().toPoint(), width())) {
        update();
        emit frameEdited();
    }
}

void FrameView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_overlay.draggingCircle) {
        m_tools.endCircleDrag();
        update();
    } else if (event->button() == Qt::RightButton && m_overlay.drawingRuler) {
        m_tools.endRuler();
        update();
    }
}

void FrameView::wheelEvent(QWheelEvent *event)
{
    event->accept();
    // Locked with the other tools: playback must not edit the shown frame.
    if (m_toolsLocked)
        return;
    const int edits = m_tools.changeRadius(event->angleDelta().y());
    for (int i = 0; i < edits; ++i)
        emit frameEdited();
    if (edits > 0)
        update();
}

} // namespace dorvane
