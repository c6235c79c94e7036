#pragma once

#include <QWidget>

class QSlider;
class QToolButton;

namespace dorvane {

class PipeView;

// The 3D page's controls: the slider and step buttons that turn the model
// about its axis, the tilt steps, zoom, pan, the four viewpoints and the
// fixed camera.
class View3dPanel : public QWidget
{
    Q_OBJECT

public:
    explicit View3dPanel(PipeView &view, QWidget *parent = nullptr);

    // A viewpoint from its button: the slider and tilt go back to 0 and the
    // camera is fixed only for the far viewpoint.
    void chooseViewpoint(int viewpoint);
    int tiltCounter() const { return m_tilt; }
    // After the window set a viewpoint itself: the slider and tilt at 0.
    void resetTurn();

private:
    void sliderMoved(int position);
    void stepSlider(int delta);
    void stepTilt(int delta);

    PipeView &m_view;
    QSlider *m_slider;
    QToolButton *m_fixedCamera;
    int m_tilt = 0;
};

} // namespace dorvane
