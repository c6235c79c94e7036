#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace dorvane {

// The thin strip above the playback slider that marks every frame flagged
// as a defect, each mark exactly above its frame's slider position. Pointing
// at a mark asks for a preview of the frame; clicking it goes to the frame.
class DefectStrip : public QWidget
{
    Q_OBJECT

public:
    explicit DefectStrip(QWidget *parent = nullptr);

    // Offset of frame 0's slider position from the strip's left edge.
    void setMargin(int margin);
    int margin() const { return m_margin; }
    void setFlags(const std::vector<uint8_t> &flags);
    void clear() { setFlags({}); }

    // The mark of frame index of frameCount in a strip of the given size.
    static QRect markRect(int index, int frameCount, int width, int height, int margin);
    // The first flagged frame whose mark contains point, or -1.
    int markAt(const QPoint &point) const;
    QRect markRectOf(int index) const;

signals:
    void frameClicked(int index);
    void previewRequested(const QPoint &globalPoint, int index);
    void previewHidden();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void recomputeMarks();
    void checkPointer();

    std::vector<uint8_t> m_flags;
    std::vector<QRect> m_marks;
    int m_margin = 0;
    QTimer m_hoverTimer;
};

} // namespace dorvane
