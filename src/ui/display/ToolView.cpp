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

void ToolView::showFrameHeaders(const FrameHeader &frame, const AnimationFileHeader &file,
                                int index, int count)
{
    m_header = frame;
    m_fileHeader = file;
    m_overlay.setFrame(&m_header, &m_fileHeader, index, count);
    headersChanged();
    update();
}

void ToolView::updateHeaders(const FrameHeader &frame, const AnimationFileHeader &file)
{
    if (!hasFrame())
        return;
    m_header = frame;
    m_fileHeader = file;
    headersChanged();
    update();
}

void ToolView::forgetFrame()
{
    m_overlay.reset();
    m_tools.cancel();
}

void ToolView::request(const std::optional<FrameEdit> &edit)
{
    if (edit)
        emit editRequested(*edit);
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
        request(m_tools.beginRuler(point, width()));
        update();
    }
}

void ToolView::mouseMoveEvent(QMouseEvent *event)
{
    request(m_tools.dragTo(event->position().toPoint(), width()));
}

void ToolView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_tools.isDraggingCircle()) {
        m_tools.endCircleDrag();
        update();
    } else if (event->button() == Qt::RightButton && m_tools.isDrawingRuler()) {
        m_tools.endRuler();
        update();
    }
}

void ToolView::wheelEvent(QWheelEvent *event)
{
    event->accept();
    // Locked with the other tools: playback must not edit the shown frame.
    if (!m_toolsLocked)
        request(m_tools.changeRadius(event->angleDelta().y()));
}

} // namespace dorvane
