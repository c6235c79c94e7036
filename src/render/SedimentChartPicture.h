#pragma once

#include <cstdint>
#include <vector>

class QPainter;
class QRect;

namespace dorvane {

// The sediment depth of every frame against its cable length, with the pipe
// top, the average depth, ticks and grid, drawn into any painter over a
// rectangle whose origin is (0, 0).
class SedimentChart
{
public:
    SedimentChart(const std::vector<float> &cableLengths, const std::vector<int32_t> &depths,
                  int pipeRadius);

    void draw(QPainter &painter, const QRect &rect) const;

private:
    const std::vector<float> &m_cableLengths;
    const std::vector<int32_t> &m_depths;
    int m_pipeRadius;
};

} // namespace dorvane
