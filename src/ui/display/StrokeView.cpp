#include "ui/display/StrokeView.h"

namespace dorvane {

StrokeView::StrokeView(QWidget *parent) : ToolView("strokeView", 500, parent)
{
    overlay().gridColour = QColor(255, 200, 255);
    overlay().bottomLabelMode = true;
}

void StrokeView::draw(QPainter &painter, const QRect &rect, bool) const
{
    drawStrokePicture(painter, rect, m_profile, overlay());
}

void StrokeView::resetView()
{
    overlay().reset();
    m_profile.reset();
    update();
}

} // namespace dorvane
