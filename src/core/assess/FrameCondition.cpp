#include "core/assess/FrameCondition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dorvane {

namespace {

// One pixel of the sonar picture in mm: 250 pixels span the detection radius.
constexpr double MmPerPixelPerDetectMm = 0.004;
constexpr int HalfTurn = BeamCount / 2;

// Each beam's distance to the wall in mm; a beam without an echo takes the
// value interpolated by beam index between the nearest beams on each side
// that have one, around the circle.
std::array<double, BeamCount> wallDistances(const ConditionInputs &in)
{
    const double scale = in.detectRadiusMm * MmPerPixelPerDetectMm;
    std::array<double, BeamCount> wall{};
    std::array<int, BeamCount> echoes{};
    int count = 0;
    for (int b = 0; b < BeamCount; ++b) {
        wall[b] = (*in.radii)[b] * scale;
        if ((*in.peakSamples)[b] != 0)
            echoes[count++] = b;
    }
    for (int e = 0; e < count; ++e) {
        const int from = echoes[e];
        // The last gap runs on past beam 399 to the first echo.
        const int to = e + 1 < count ? echoes[e + 1] : echoes[0] + BeamCount;
        if (to - from < 2)
            continue;
        const double start = wall[from];
        const double span = wall[to % BeamCount] - start;
        const int gap = to - from;
        for (int step = 1; step < gap; ++step)
            wall[(from + step) % BeamCount] = start + span * step / gap;
    }
    return wall;
}

// The cosine of each beam's angle from straight up, worked out once.
const std::array<double, BeamCount> &beamCosines()
{
    static const std::array<double, BeamCount> cosines = [] {
        std::array<double, BeamCount> c{};
        for (int b = 0; b < BeamCount; ++b)
            c[b] = std::cos(2.0 * std::numbers::pi * b / BeamCount);
        return c;
    }();
    return cosines;
}

std::optional<PipeShape> shapeOf(const std::array<double, BeamCount> &wall, int pipeRadius,
                                 int depth)
{
    const std::array<double, BeamCount> &cosines = beamCosines();
    const auto inSediment = [&](int b) {
        return depth > 0 && -wall[b] * cosines[b] >= pipeRadius - depth;
    };
    PipeShape shape;
    double sum = 0;
    int count = 0;
    for (int b = 0; b < HalfTurn; ++b) {
        if (inSediment(b) || inSediment(b + HalfTurn))
            continue;
        const double d = wall[b] + wall[b + HalfTurn];
        if (count == 0 || d < shape.minDiameter) {
            shape.minDiameter = d;
            shape.minAngle = b * 0.9;
        }
        if (count == 0 || d > shape.maxDiameter) {
            shape.maxDiameter = d;
            shape.maxAngle = b * 0.9;
        }
        sum += d;
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    shape.meanDiameter = sum / count;
    if (shape.meanDiameter > 0)
        shape.ovalityPct = 100.0 *
                           std::max(shape.meanDiameter - shape.minDiameter,
                                    shape.maxDiameter - shape.meanDiameter) /
                           shape.meanDiameter;
    const double nominal = 2.0 * pipeRadius;
    shape.deformationPct = std::max(0.0, nominal - shape.minDiameter) / nominal * 100.0;
    return shape;
}

} // namespace

FrameCondition assessFrame(const ConditionInputs &in)
{
    FrameCondition condition;
    if (in.pipeRadiusMm <= 0 || in.detectRadiusMm <= 0 || !std::isfinite(in.cableLength) ||
        !in.peakSamples || !in.radii)
        return condition;
    const auto echoes =
        std::count_if(in.peakSamples->begin(), in.peakSamples->end(), [](uint8_t p) { return p; });
    if (echoes < MinimumEchoBeams)
        return condition;

    condition.assessed = true;
    const std::array<double, BeamCount> wall = wallDistances(in);
    const double R = in.pipeRadiusMm;
    const double nominalArea = std::numbers::pi * R * R;
    double squares = 0;
    for (const double w : wall)
        squares += w * w;
    const double area = std::numbers::pi / BeamCount * squares;
    condition.capacityLossPct = std::max(0.0, (nominalArea - area) / nominalArea) * 100.0;
    if (in.sedimentPermille != -1) {
        condition.sedimentDepthPct = in.sedimentDepthMm / (2.0 * R) * 100.0;
        condition.sedimentAreaM2 = in.sedimentPermille / 1000.0 * nominalArea * 1e-6;
    }
    condition.shape = shapeOf(wall, in.pipeRadiusMm, std::max(0, in.sedimentDepthMm));
    return condition;
}

} // namespace dorvane
