#include "render/AssessmentChartLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvane {

namespace {

// Room for the legend above, the y labels on the left, the grade names on
// the right and the length labels and axis title below.
constexpr int LegendHeight = 20;
constexpr int LeftMargin = 40;
constexpr int RightMargin = 58;
constexpr int BottomMargin = 36;
constexpr int LaneGap = 10;
constexpr int MinTickSpacing = 50;

// 1, 2 or 5 times a power of ten, the smallest that keeps the ticks at
// least MinTickSpacing pixels apart.
double tickStepFor(double range, int width)
{
    if (!(range > 0) || width <= 0)
        return 1;
    const double wanted = range * MinTickSpacing / width;
    double step = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (step * factor >= wanted)
            return step * factor;
    return step * 10;
}

} // namespace

AssessmentChartLayout::AssessmentChartLayout(const std::vector<float> &cableLengths, QSize size)
    : m_cableLengths(cableLengths)
{
    const int width = std::max(size.width() - LeftMargin - RightMargin, 1);
    const int lanes = std::max(size.height() - LegendHeight - BottomMargin - LaneGap, 2);
    const int upper = lanes / 2;
    m_legendRow = QRect(LeftMargin, 0, width, LegendHeight);
    m_depositLane = QRect(LeftMargin, LegendHeight, width, upper);
    m_deformationLane = QRect(LeftMargin, LegendHeight + upper + LaneGap, width, lanes - upper);

    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const float length : cableLengths)
        if (std::isfinite(length)) {
            low = std::min(low, static_cast<double>(length));
            high = std::max(high, static_cast<double>(length));
        }
    m_hasRange = low <= high;
    if (!m_hasRange)
        return;
    // A survey that never moved still gets a metre either side of it.
    if (high - low < 1e-6) {
        low -= 1;
        high += 1;
    }
    m_xmin = low;
    m_xmax = high;
    m_tickStep = tickStepFor(high - low, width);
}

int AssessmentChartLayout::xOf(double metres) const
{
    const QRect p = plot();
    const double t = std::clamp((metres - m_xmin) / (m_xmax - m_xmin), 0.0, 1.0);
    return p.left() + static_cast<int>(std::lround(t * (p.width() - 1)));
}

double AssessmentChartLayout::metresAt(int x) const
{
    const QRect p = plot();
    const double t = p.width() > 1 ? static_cast<double>(x - p.left()) / (p.width() - 1) : 0.0;
    return m_xmin + t * (m_xmax - m_xmin);
}

int AssessmentChartLayout::frameAt(int x) const
{
    const QRect p = plot();
    if (!m_hasRange || x < p.left() || x > p.right())
        return -1;
    const double metres = metresAt(x);
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < m_cableLengths.size(); ++i) {
        const double distance = std::fabs(m_cableLengths[i] - metres);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace dorvane
