#include "ui/display/FrameView.h"

#include "render/FramePicture.h"

namespace dorvane {

FrameView::FrameView(QWidget *parent, int size) : ToolView("frameView", size, parent) {}

void FrameView::draw(QPainter &painter, const QRect &rect, bool showTexts) const
{
    drawFramePicture(painter, rect, m_image, overlay(), showTexts);
}

void FrameView::resetView()
{
    forgetFrame();
    m_image.reset();
    update();
}

} // namespace dorvane
