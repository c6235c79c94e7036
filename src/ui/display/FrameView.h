#pragma once

#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"
#include "ui/display/ToolView.h"

namespace dorvane {

// The square window that shows a sonar picture with its overlay. It paints
// only through drawFramePicture, so what it shows is exactly what the exports
// and the batch tool draw.
class FrameView : public ToolView
{
    Q_OBJECT

public:
    static constexpr int ViewSize = PictureSize;

    explicit FrameView(QWidget *parent = nullptr, int size = ViewSize);

    SonarImage &image() { return m_image; }
    const SonarImage &image() const { return m_image; }

    // Draws the picture and its overlay into rect, or black when there is no
    // picture.
    void draw(QPainter &painter, const QRect &rect, bool showTexts) const override;
    // Forgets the frame: overlay reset, picture back to the background.
    void resetView();

private:
    SonarImage m_image;
};

} // namespace dorvane
