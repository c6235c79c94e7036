#include "core/display/SedimentChartScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dorvane {

SedimentChartScale SedimentChartScale::of(const std::vector<float> &cableLengths, int pipeRadius)
{
    SedimentChartScale scale;
    scale.ymax = 2 * pipeRadius;
    // A NaN or infinite length has no place on the axis.
    const auto finite = [](float length) { return std::isfinite(length); };
    const auto first = std::find_if(cableLengths.begin(), cableLengths.end(), finite);
    if (first == cableLengths.end())
        return scale;
    const auto last = std::find_if(cableLengths.rbegin(), cableLengths.rend(), finite);
    // Enclosing multiples of 5, so that every frame lies on the chart
    // whatever the sign of its cable length.
    scale.xmin = XStep * std::floor(static_cast<double>(*first) / XStep);
    scale.xmax = XStep * std::ceil(static_cast<double>(*last) / XStep);
    return scale;
}

int SedimentChartScale::xTickCount() const
{
    if (!hasXRange() || xmax < xmin)
        return 0;
    // Compared before converting: a range of 1e30 m has no int count.
    const double steps = std::floor((xmax - xmin) / XStep);
    return steps + 1 >= MaxTicks ? MaxTicks : static_cast<int>(steps) + 1;
}

int SedimentChartScale::averageDepth(const std::vector<float> &cableLengths,
                                     const std::vector<int32_t> &depths) const
{
    if (!hasXRange())
        return 0;
    uint64_t sum = 0;
    uint64_t count = 0;
    const size_t n = std::min(cableLengths.size(), depths.size());
    for (size_t i = 0; i < n; ++i) {
        const float length = cableLengths[i];
        if (!std::isfinite(length))
            continue;
        if (length >= xmax)
            break;
        if (xmin < length && depths[i] != -1) {
            sum += static_cast<uint32_t>(depths[i]);
            ++count;
        }
    }
    return count == 0 ? 0 : static_cast<int>(sum / count);
}

int tickLabelStep(const std::vector<int> &tickX, const std::vector<int> &widths, int gap)
{
    const size_t n = std::min(tickX.size(), widths.size());
    const auto left = [&](size_t i) { return tickX[i] - widths[i] / 2; };
    // Labels further apart than neighbours are apart too, so checking each
    // labelled tick against the next labelled one is enough.
    for (size_t k = 1; k < n; ++k) {
        bool apart = true;
        for (size_t i = 0; i + k < n && apart; i += k)
            apart = left(i + k) - (left(i) + widths[i]) >= gap;
        if (apart)
            return static_cast<int>(k);
    }
    // Only the first tick keeps a label.
    return std::max(static_cast<int>(n), 1);
}

std::string tickText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
    }
    return s;
}

} // namespace dorvane
