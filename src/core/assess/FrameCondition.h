#pragma once

#include "core/display/Sediment.h"

#include <array>
#include <cstdint>
#include <optional>

namespace dorvane {

// The shape of a pipe's cross-section from the diameters that have no end in
// the sediment: mm, and the beam angles in degrees (beam 0 up, clockwise).
struct PipeShape
{
    double minDiameter = 0;
    double maxDiameter = 0;
    double meanDiameter = 0;
    double minAngle = 0;
    double maxAngle = 0;
    double ovalityPct = 0;     // largest departure from the mean diameter
    double deformationPct = 0; // how far the smallest diameter falls short of 2R
};

// What one frame's wall profile says about the pipe's condition. A frame that
// cannot be assessed (no pipe radius, no detection radius, no finite cable
// length or fewer than 360 beams with an echo) has no figures at all.
struct FrameCondition
{
    bool assessed = false;
    double capacityLossPct = 0;
    // Absent for a frame the operator excluded from the sediment figures.
    std::optional<double> sedimentDepthPct;
    std::optional<double> sedimentAreaM2;
    // Absent when every diameter has an end in the sediment.
    std::optional<PipeShape> shape;
};

// What a frame's condition is computed from, all of it kept in the derived
// values of a survey: no pass over the samples.
struct ConditionInputs
{
    const std::array<uint8_t, BeamCount> *peakSamples = nullptr; // 0: no echo
    const RadiusProfile *radii = nullptr;                        // pixels from the circle centre
    int pipeRadiusMm = 0;
    int detectRadiusMm = 0;
    float cableLength = 0;
    int sedimentPermille = 0; // -1: excluded by the operator
    int sedimentDepthMm = 0;
};

// At least this many of the 400 beams must have an echo for a frame to be
// assessed.
constexpr int MinimumEchoBeams = 360;

FrameCondition assessFrame(const ConditionInputs &inputs);

} // namespace dorvane
