#include "FrameView.h"

#include "render/FramePicture.h"

#include <QPainter>

namespace dorvane {

FrameView::FrameView(QWidget *parent) : QWidget(parent)
{
    setObjectName("frameView");
    setFixedSize(ViewSize, ViewSize);
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

} // namespace dorvane
