#pragma once

#include "core/acquire/ProbeStatus.h"

#include <cstdint>

namespace dorvane::probesim {

// What the simulated probe reports with one frame.
struct StatusValues
{
    double tiltDeg = 0;
    double rollDeg = 0;
    int pressure = 0;    // hPa
    int temperature = 0; // tenths of a degree Celsius
    int distanceCount = 0;
    uint32_t frameNumber = 0;
    bool marker = true;
};

// The sensor count of an angle, the inverse of probeAngle: 0..2047 for
// positive angles, their 12-bit complement for negative ones.
int sensorCount(double degrees);

// The probe's attitude and readings at a place along the pipe (in frames of
// 0.1 m): a slow sway of the given amplitude with a faster tremor on it.
StatusValues simulatedStatus(int position, double tiltAmplitudeDeg, double rollDeg);

// The 64-byte record: the marker (or, without it, a garbled first byte),
// "T" and 3 tilt digits, "R" and 3 roll digits, 3 pressure and 3
// temperature digits, 12 spare bytes, the counter's sign ('@' forward, '-'
// back) and 6 digits, then "F" and the frame number in 8 digits.
ProbeStatus encodeStatus(const StatusValues &values);

} // namespace dorvane::probesim
