#pragma once

#include "render/StrokePicture.h"
#include "ui/display/ToolView.h"

namespace dorvane {

// The shown frame's wall profile against the tolerance band of its pipe
// circle, with the circle tool and the ruler as on the frame view.
class StrokeView : public ToolView
{
    Q_OBJECT

public:
    explicit StrokeView(QWidget *parent = nullptr);

    const StrokeProfile &profile() const { return m_profile; }
    // The frame's wall points (pixel codes); the band follows the header.
    void setProfilePoints(std::vector<uint32_t> points);

    void draw(QPainter &painter, const QRect &rect, bool showTexts) const override;
    // Forgets the frame: overlay and profile reset.
    void resetView();

protected:
    void headersChanged() override;

private:
    StrokeProfile m_profile;
};

} // namespace dorvane
