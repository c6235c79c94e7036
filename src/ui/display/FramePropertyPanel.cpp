#include "FramePropertyPanel.h"

namespace dorvane {

FramePropertyPanel::FramePropertyPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName("framePropertyPanel");
}

void FramePropertyPanel::loadFrame(int index, FrameHeader *header)
{
    m_index = index;
    m_header = header;
}

void FramePropertyPanel::clear()
{
    m_index = -1;
    m_header = nullptr;
}

void FramePropertyPanel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

} // namespace dorvane
