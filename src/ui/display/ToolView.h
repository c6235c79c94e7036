#pragma once

#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "core/document/HeaderEdits.h"
#include "render/FrameOverlay.h"
#include "ui/display/FrameTools.h"

#include <QWidget>

namespace dorvane {

// A square view of the shown frame with an overlay on which the circle tool
// and the measuring ruler work: the frame view and the stroke view. The view
// draws its own copies of the frame's headers; the tools ask for edits,
// which the survey applies and then shows here again.
class ToolView : public QWidget
{
    Q_OBJECT

public:
    ToolView(const char *name, int size, QWidget *parent);

    FrameOverlay &overlay() { return m_overlay; }
    const FrameOverlay &overlay() const { return m_overlay; }

    // Draws what the view shows into rect.
    virtual void draw(QPainter &painter, const QRect &rect, bool showTexts) const = 0;

    // The frame shown: frame index of count, its header and the survey's
    // file header. The overlay's sediment values are not shown (-1).
    void showFrameHeaders(const FrameHeader &frame, const AnimationFileHeader &file, int index,
                          int count);
    // The same frame after an edit: only the headers change.
    void updateHeaders(const FrameHeader &frame, const AnimationFileHeader &file);
    bool hasFrame() const { return m_overlay.header != nullptr; }
    const FrameHeader &shownHeader() const { return m_header; }

    // While locked the mouse tools do nothing (during playback).
    void setToolsLocked(bool locked) { m_toolsLocked = locked; }
    bool toolsLocked() const { return m_toolsLocked; }
    const FrameTools &tools() const { return m_tools; }

signals:
    // The circle tool, the ruler or the wheel asks for a change of the frame.
    void editRequested(const FrameEdit &edit);

protected:
    // Forgets the frame: overlay reset, no gesture.
    void forgetFrame();
    // A new header is shown (after an edit as well).
    virtual void headersChanged() {}

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void request(const std::optional<FrameEdit> &edit);

    FrameHeader m_header;
    AnimationFileHeader m_fileHeader;
    FrameOverlay m_overlay;
    FrameTools m_tools{m_overlay};
    bool m_toolsLocked = false;
};

} // namespace dorvane
