#include "core/display/PixelMapTable.h"

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace dorvane {

namespace {
constexpr int StepsPerBeam = 10;
constexpr double BeamDegrees = 0.9;
constexpr double StepDegrees = 0.09;
} // namespace

const PixelMapTable &PixelMapTable::instance()
{
    static const PixelMapTable table = compute();
    return table;
}

namespace {
uint32_t stepCode(int sample, double sine, double cosine)
{
    const int x = PictureCentre.x + static_cast<int>(std::trunc(sample * sine));
    const int y = PictureCentre.y + static_cast<int>(std::trunc(sample * cosine));
    return makePixelCode(x, y);
}

// The sine and cosine of step k of beam b, as the table takes them.
double stepAngle(int b, int k)
{
    return (b * BeamDegrees + k * StepDegrees) * (std::numbers::pi / 180.0);
}

struct LeadingEdges
{
    std::array<double, BeamCount> sine{};
    std::array<double, BeamCount> cosine{};
};

} // namespace

uint32_t PixelMapTable::leadingEdgeCode(int beam, int sample)
{
    static const LeadingEdges edges = [] {
        LeadingEdges e;
        for (int b = 0; b < BeamCount; ++b) {
            e.sine[static_cast<size_t>(b)] = std::sin(stepAngle(b, 0));
            e.cosine[static_cast<size_t>(b)] = std::cos(stepAngle(b, 0));
        }
        return e;
    }();
    return stepCode(sample, edges.sine[static_cast<size_t>(beam)],
                    edges.cosine[static_cast<size_t>(beam)]);
}

PixelMapTable PixelMapTable::compute()
{
    // The sines and cosines depend only on beam and step: 4,000 angles.
    std::vector<double> sines(BeamCount * StepsPerBeam), cosines(BeamCount * StepsPerBeam);
    for (int b = 0; b < BeamCount; ++b) {
        for (int k = 0; k < StepsPerBeam; ++k) {
            sines[b * StepsPerBeam + k] = std::sin(stepAngle(b, k));
            cosines[b * StepsPerBeam + k] = std::cos(stepAngle(b, k));
        }
    }

    PixelMapTable table;
    table.m_codes.reserve(310000);
    table.m_offsets.reserve(SampleCount + 1);
    for (int b = 0; b < BeamCount; ++b) {
        const double *sin = &sines[b * StepsPerBeam];
        const double *cos = &cosines[b * StepsPerBeam];
        for (int s = 0; s < SamplesPerBeam; ++s) {
            const auto begin = table.m_codes.size();
            table.m_offsets.push_back(static_cast<uint32_t>(begin));
            for (int k = 0; k < StepsPerBeam; ++k) {
                const uint32_t code = stepCode(s, sin[k], cos[k]);
                const auto cellBegin = table.m_codes.begin() + static_cast<ptrdiff_t>(begin);
                if (std::find(cellBegin, table.m_codes.end(), code) == table.m_codes.end())
                    table.m_codes.push_back(code);
            }
        }
    }
    table.m_offsets.push_back(static_cast<uint32_t>(table.m_codes.size()));
    table.m_codes.shrink_to_fit();
    return table;
}

} // namespace dorvane
