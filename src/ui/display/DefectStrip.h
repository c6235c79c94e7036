#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace dorvane {

// The thin strip above the playback slider that marks every frame flagged
// as a defect, each mark exactly above its frame's slider position. Pointing
// at a mark asks for a preview of the frame; clicking it goes to the frame.
class DefectStrip : public QWidget
{
    Q_OBJECT

public:
    // The x of frame index of count in the strip: where the slider's handle
    // stands for that frame.
    using PositionOf = std::function<int(int index, int count)>;

    explicit DefectStrip(QWidget *parent = nullptr);

    void setPositionOf(PositionOf positionOf);
    void setFlags(const std::vector<uint8_t> &flags);
    void clear() { setFlags({}); }
    // After the slider moved or changed size.
    void relayout() { recomputeMarks(); }

    // The mark centred on x in a strip of the given height.
    static QRect markRect(int x, int height);
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
    std::vector<int> m_markX;
    PositionOf m_positionOf;
    QTimer m_hoverTimer;
};

} // namespace dorvane
