#include "GraphicsPanel.h"

#include "FrameView.h"

namespace dorvane {

GraphicsPanel::GraphicsPanel(FrameView &view, QWidget *parent) : QWidget(parent), m_view(view)
{
    setObjectName("graphicsPanel");
}

void GraphicsPanel::resetForFrame()
{
    m_view.resetView();
}

} // namespace dorvane
