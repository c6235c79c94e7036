#pragma once

#include "core/display/DeviationMap.h"

#include <QImage>
#include <QWidget>

class QToolButton;

namespace dorvane {

class StrokeView;

// The deviation map of the whole survey: one row per frame, one column per
// beam. A click asks to go to the frame of that row.
class DeviationMapWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DeviationMapWidget(QWidget *parent = nullptr);

    void setMap(const DeviationMap &map);
    void setMarkedFrame(int frame);
    int markedFrame() const { return m_marked; }
    int frameCount() const { return m_frames; }

signals:
    void frameClicked(int frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    int m_frames = 0;
    int m_marked = -1;
};

// The colours of the deviation map with their per-cent labels.
class ColourLegendWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColourLegendWidget(QWidget *parent = nullptr);

    void setRange(int range);
    int range() const { return m_range; }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void redraw();

    int m_range = 10;
    QImage m_picture;
};

// The page beside the stroke view: the deviation map, its legend, the scale
// grid switch and the sediment curve button.
class StrokePanel : public QWidget
{
    Q_OBJECT

public:
    StrokePanel(StrokeView &view, QWidget *parent = nullptr);

    // A new map from every frame's radius profile, the given frame marked.
    void buildDeviationMap(std::span<const RadiusProfile> profiles, int markedFrame);
    void setMarkedFrame(int frame);
    void setLegendRange(int range);
    // After a frame is shown: the grid switch shows whether the grid does.
    void showGridState();
    void clear();

    DeviationMapWidget &map() { return *m_map; }
    ColourLegendWidget &legend() { return *m_legend; }

signals:
    void frameClicked(int frame);
    void chartRequested();

private:
    void gridToggled();

    StrokeView &m_view;
    DeviationMapWidget *m_map;
    ColourLegendWidget *m_legend;
    QToolButton *m_gridButton;
    QToolButton *m_curveButton;
};

} // namespace dorvane
