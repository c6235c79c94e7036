#pragma once

#include <QWidget>

namespace dorvane {

class FrameView;

// The page beside the frame view that shapes the picture's palette.
class GraphicsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit GraphicsPanel(FrameView &view, QWidget *parent = nullptr);

    // Prepares the frame view for the next frame.
    void resetForFrame();

private:
    FrameView &m_view;
};

} // namespace dorvane
