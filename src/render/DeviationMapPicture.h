#pragma once

#include <QImage>
#include <QString>
#include <vector>

class QPainter;
class QRect;

namespace dorvane {

class DeviationMap;

// The map as a 400 x N picture, frame 0 in the bottom row.
QImage deviationMapImage(const DeviationMap &map);

// Draws the map stretched onto rect and, when a frame is marked, a line
// across it at that frame's row.
void drawDeviationMap(QPainter &painter, const QRect &rect, const QImage &mapImage, int frameCount,
                      int markedFrame);

// The frame a click at y (in a map drawn height pixels high) points at.
int deviationMapFrameAt(int y, int height, int frameCount);

// A tick of the colour legend: its bar row (0..171, top to bottom) and label.
struct LegendTick
{
    int row;
    QString label;
};
std::vector<LegendTick> colourLegendTicks(int range);

// The colour legend for range d per cent: red over blue in 86 + 86 rows with
// ticks and per-cent labels.
void drawColourLegend(QPainter &painter, const QRect &rect, int range);

} // namespace dorvane
