#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

namespace dorvane {

// A label under a tick of the chart's length axis: where it is drawn, in
// the chart font, and what it says.
struct ChartLabel
{
    QRect rect;
    QString text;
};

// The sediment depth of every frame against its cable length, with the pipe
// top, the average depth, ticks and grid, drawn into any painter over a
// rectangle whose origin is (0, 0). Frames whose cable length is NaN or
// infinite are left out of the curve; a length beyond the axis is drawn at
// its end.
class SedimentChart
{
public:
    SedimentChart(const std::vector<float> &cableLengths, const std::vector<int32_t> &depths,
                  int pipeRadius);

    void draw(QPainter &painter, const QRect &rect) const;
    int pipeRadius() const { return m_pipeRadius; }

    // The labels of the length axis' 5 m ticks for a chart drawn over rect:
    // every k-th tick's from the first, k as small as keeps a few pixels
    // between neighbouring labels, so a long survey on a narrow chart gets
    // fewer labels instead of overlapping ones. Every tick is still drawn.
    // A label that would meet the length axis' name is left out.
    std::vector<ChartLabel> lengthLabels(const QRect &rect) const;
    // Where the chart's title, the depth axis' name and the length axis'
    // name go in a chart drawn over rect. The depth axis' name goes a line
    // lower when the title would run into it.
    QRect titleRect(const QRect &rect) const;
    QRect depthAxisNameRect(const QRect &rect) const;
    QRect lengthAxisNameRect(const QRect &rect) const;

private:
    const std::vector<float> &m_cableLengths;
    const std::vector<int32_t> &m_depths;
    int m_pipeRadius;
};

} // namespace dorvane
