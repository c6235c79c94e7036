#include "ui/display/ToolView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace dorvane {

ToolView::ToolView(const char *name, int size, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setFixedSize(size, size);
    setFocusPolicy(Qt::StrongFocus);
    // Everything is painted in paintEvent; no background erase in between.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ToolView::paintEvent(QPaintEvent *)
{
    const QRect area = rect();
    if (area.isEmpty() || area.width() != area.height())
        return;
    QPainter painter(this);
    draw(painter, area, true);
}

void ToolView::mousePressEvent(QMouseEvent *event)
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

void ToolView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tools.dragTo(event->position().toPoint(), width())) {
        update();
        emit frameEdited();
    }
}

void ToolView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_overlay.draggingCircle) {
        m_tools.endCircleDrag();
        update();
    } else if (event->button() == Qt::RightButton && m_overlay.drawingRuler) {
        m_tools.endRuler();
        update();
    }
}

void ToolView::wheelEvent(QWheelEvent *event)
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
