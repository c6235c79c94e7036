#pragma once

#include <QWidget>

namespace dorvane {

struct FrameHeader;

// The page with the shown frame's attributes.
class FramePropertyPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FramePropertyPanel(QWidget *parent = nullptr);

    // Shows frame index and edits its header (kept alive by the caller).
    void loadFrame(int index, FrameHeader *header);
    void clear();
    // During playback the controls only show.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    int frameIndex() const { return m_index; }

private:
    FrameHeader *m_header = nullptr;
    int m_index = -1;
    bool m_readOnly = false;
};

} // namespace dorvane
