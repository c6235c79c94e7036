#pragma once

#include "core/display/SonarImage.h"

#include <QWidget>

namespace dorvane {

// A small frame picture shown over the playback bar while the pointer rests
// on a defect mark. It remembers the frame it shows, so resting on the same
// mark does not read the file again.
class PreviewPopup : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PictureSize = 166;

    explicit PreviewPopup(QWidget *parent = nullptr);

    int shownIndex() const { return m_index; }
    void setShownIndex(int index) { m_index = index; }
    SonarImage &image() { return m_image; }
    // Hides the popup and forgets the frame.
    void dismiss();
    // Shows it centred on x with its bottom edge at y (screen coordinates),
    // without taking the keyboard focus.
    void showAbove(const QPoint &screenPoint);

signals:
    // A click on the preview asks to go to its frame.
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    SonarImage m_image;
    int m_index = -1;
};

} // namespace dorvane
