#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dorvane {

// The scales of the sediment depth chart: cable length in metres along x,
// sediment depth in millimetres up to the pipe's diameter along y.
struct SedimentChartScale
{
    static constexpr double XStep = 5.0;
    static constexpr int MaxTicks = 1000;

    // Multiples of 5 m that enclose the first and the last finite cable
    // length; NaN and infinite lengths are left out.
    double xmin = 0;
    double xmax = 0;
    int ymax = 0; // twice the pipe radius

    static SedimentChartScale of(const std::vector<float> &cableLengths, int pipeRadius);

    bool hasXRange() const { return xmin != xmax; }
    // The 5 m ticks from xmin to xmax, at most MaxTicks; tick i stands at
    // xmin + i * XStep.
    int xTickCount() const;
    // 100 mm between y ticks, 500 mm from a 1000 mm diameter up.
    int yTickStep() const { return ymax >= 1000 ? 500 : 100; }

    // The mean depth of the frames after xmin and before xmax (in array
    // order, stopping at the first frame at or beyond xmax), leaving out
    // excluded frames (-1) and frames whose cable length is NaN or
    // infinite; 0 when none counts.
    int averageDepth(const std::vector<float> &cableLengths,
                     const std::vector<int32_t> &depths) const;
};

// Which ticks of an axis carry a label: every k-th from the first, with the
// smallest k that keeps at least gap pixels between neighbouring labels. Tick
// i stands at tickX[i] (increasing) and its label, widths[i] pixels wide, is
// centred under it from tickX[i] - widths[i] / 2. When even two labels
// cannot stand apart only the first tick keeps one (k is the tick count).
int tickLabelStep(const std::vector<int> &tickX, const std::vector<int> &widths, int gap);

// A tick label: two decimals with trailing zeros and a trailing point taken
// off (5 gives "5", 12.5 gives "12.5").
std::string tickText(double value);

} // namespace dorvane
