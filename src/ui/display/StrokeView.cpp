#include "ui/display/StrokeView.h"

#include "core/display/PictureGeometry.h"

namespace dorvane {

StrokeView::StrokeView(QWidget *parent) : ToolView("strokeView", PictureSize, parent)
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
    forgetFrame();
    m_profile.reset();
    update();
}

void StrokeView::setProfilePoints(std::vector<uint32_t> points)
{
    m_profile.points = std::move(points);
    headersChanged();
    update();
}

void StrokeView::headersChanged()
{
    // The band and the centre follow the circle and the radii of the header.
    m_profile = makeStrokeProfile(shownHeader(), std::move(m_profile.points));
}

} // namespace dorvane
