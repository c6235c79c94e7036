#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace dorvane {

class FrameView;

// The page beside the frame view that shapes the picture's palette: two
// thresholds, the number of colours and grey or colour, with a preview wheel,
// and the switch of the scale grid.
class GraphicsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit GraphicsPanel(FrameView &view, QWidget *parent = nullptr);

    // Before a frame is shown: the view is reset; the palette and the grid
    // stay as they are.
    void resetForFrame();
    // After a frame is shown: the switches show the state of the picture.
    void showPictureState();
    // The sliders and the grey switch, to the preview and the main view.
    void applyPalette();
    void restoreDefaults();

    int minLevel() const;
    int maxLevel() const;
    int colourCount() const;
    bool isGrey() const { return m_grey; }
    FrameView &preview() { return *m_preview; }

private:
    void sliderMoved(QSlider *moved);
    void greyToggled();
    void gridToggled();
    void showValues();
    void pushFlags();

    FrameView &m_view;
    FrameView *m_preview;
    QToolButton *m_gridButton;
    QToolButton *m_greyButton;
    QToolButton *m_restoreButton;
    QSlider *m_low;
    QSlider *m_high;
    QSlider *m_colours;
    QLabel *m_lowValue;
    QLabel *m_highValue;
    QLabel *m_coloursValue;
    bool m_grey = false;
    bool m_grid = false;
};

} // namespace dorvane
