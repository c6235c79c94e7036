#pragma once

#include <array>
#include <cstdint>

namespace dorvane {

// The 64-byte status record the probe hands over with every live frame:
// ASCII fields, the marker 0x55 0x3C first.
struct ProbeStatus
{
    static constexpr int Size = 64;
    std::array<uint8_t, Size> bytes{};

    bool hasMarker() const;
    // 3 hexadecimal digits at 3 and 7 (0..4095), upper-cased and read up to
    // the first character that is not a hexadecimal digit.
    int tiltCount() const;
    int rollCount() const;
    int pressure() const;    // 3 hexadecimal digits at 10
    int temperature() const; // 3 hexadecimal digits at 13
    // The signed cable counter: sign byte 28 (0x40 positive, anything else
    // negative), decimal digits at 29..34 read up to the first non-digit.
    int distanceCount() const;
    // The counter in metres: count x 0.005, single precision.
    float distanceMetres() const;
    float tiltDegrees() const;
    float rollDegrees() const;
};

// A tilt or roll sensor count (0..4095, a 12-bit signed reading) in degrees,
// by the sensor's piecewise scale.
float probeAngle(int count);

} // namespace dorvane
