#pragma once

#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace dorvane {

constexpr int RadiusProfileSize = BeamCount + 2;

// 400 beam radii in pixels, the pipe radius in pixels, the error rate.
using RadiusProfile = std::array<uint32_t, RadiusProfileSize>;

// What one frame's wall profile says about the sediment in the pipe.
struct FrameAnalysis
{
    // Per beam, the sample of its echo peak (0 when there is none).
    std::array<uint8_t, BeamCount> peakSamples{};
    // Per beam the distance in pixels from the pipe centre to the peak, then
    // the pipe radius in pixels, then the error rate.
    RadiusProfile radii{};
    int sedimentPermille = 0; // -1 for an excluded frame with a deficit
    int sedimentDepth = 0;    // mm; -1 with a per-mille of -1
};

struct SedimentResult
{
    std::vector<uint32_t> profilePoints; // pixel codes of every beam's peak cell
    RadiusProfile radii{};
    int sedimentPermille = 0;
    int sedimentDepth = 0;
    float cableLength = 0;
};

// The echo peak per beam, the radius profile around the pipe centre, and the
// sediment share (per mille of the cross-section) and depth (mm).
SedimentResult computeSediment(const FrameRecord &frame, ScreenPoint circleCentre);

// The same without building the profile point list.
FrameAnalysis analyseFrame(const FrameRecord &frame, ScreenPoint circleCentre);
FrameAnalysis analyseFrame(const FrameHeader &header, const uint8_t *samples,
                           ScreenPoint circleCentre);

// The pixel codes of the peak cells, beam after beam.
std::vector<uint32_t> profilePoints(const std::array<uint8_t, BeamCount> &peakSamples);
void appendProfilePoints(const std::array<uint8_t, BeamCount> &peakSamples,
                         std::vector<uint32_t> &points);

// The first sample of samples 50..244 of a beam that is larger than all before
// it (starting from 0): the first occurrence of the largest value, or 0 when
// they are all 0.
int echoPeak(const uint8_t *beamSamples);

// The smallest depth h in 0..pipeRadius-1 whose circular segment covers at
// least permille thousandths of a pipe of that radius; pipeRadius when none
// does, 0 for a pipe radius of 0.
int sedimentDepthFor(int permille, int pipeRadius);

// The share of a circle of radius r covered by a segment of height h, with the
// radius, its square, pi r^2 and r - h held in single precision.
double segmentShare(int h, int pipeRadius);

} // namespace dorvane
