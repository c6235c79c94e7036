#include "core/display/SedimentChartScale.h"

#include <cmath>
#include <cstdio>

namespace dorvane {

namespace {
double finiteOrZero(float value)
{
    return std::isfinite(value) ? static_cast<double>(value) : 0.0;
}
} // namespace

SedimentChartScale SedimentChartScale::of(const std::vector<float> &cableLengths, int pipeRadius)
{
    SedimentChartScale scale;
    scale.ymax = 2 * pipeRadius;
    if (cableLengths.empty())
        return scale;
    // Enclosing multiples of 5, so that every frame lies on the chart
    // whatever the sign of its cable length.
    scale.xmin = XStep * std::floor(finiteOrZero(cableLengths.front()) / XStep);
    scale.xmax = XStep * std::ceil(finiteOrZero(cableLengths.back()) / XStep);
    return scale;
}

int SedimentChartScale::averageDepth(const std::vector<float> &cableLengths,
                                     const std::vector<int32_t> &depths) const
{
    if (!hasXRange())
        return 0;
    uint64_t sum = 0;
    uint64_t count = 0;
    const size_t n = std::min(cableLengths.size(), depths.size());
    for (size_t i = 0; i < n && cableLengths[i] < xmax; ++i) {
        if (xmin < cableLengths[i] && depths[i] != -1) {
            sum += static_cast<uint32_t>(depths[i]);
            ++count;
        }
    }
    return count == 0 ? 0 : static_cast<int>(sum / count);
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
