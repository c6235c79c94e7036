#include "probe-sim/SimulatedStatus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace dorvane::probesim {

int sensorCount(double degrees)
{
    const double a = std::fabs(degrees);
    double m;
    if (a <= 10)
        m = a / 0.025;
    else if (a <= 30)
        m = 400 + (a - 10) / 0.028571429;
    else if (a <= 50)
        m = 1100 + (a - 30) / 0.025;
    else
        m = 1900 + (a - 50) / 0.04256757;
    const int count = static_cast<int>(std::clamp(std::lround(m), 0L, 2047L));
    return degrees < 0 ? 4095 - count : count;
}

StatusValues simulatedStatus(int position, double tiltAmplitudeDeg, double rollDeg)
{
    constexpr double Pi = std::numbers::pi;
    const double x = position;
    StatusValues values;
    values.tiltDeg = tiltAmplitudeDeg *
                     (0.8 * std::sin(2 * Pi * x / 150 + 0.7) + 0.2 * std::sin(2 * Pi * x / 23));
    values.rollDeg = rollDeg;
    // The water deepens and cools a little along the pipe.
    values.pressure = 1013 + static_cast<int>(std::lround(3 * std::sin(2 * Pi * x / 400)));
    values.temperature = 180 - static_cast<int>(std::lround(4 * std::sin(2 * Pi * x / 300)));
    return values;
}

ProbeStatus encodeStatus(const StatusValues &values)
{
    ProbeStatus status;
    char text[ProbeStatus::Size + 1] = {};
    const int distance = std::min(std::abs(values.distanceCount), 999999);
    std::snprintf(text, sizeof text, "..T%03XR%03X%03X%03X000000000000%c%06dF%08u",
                  sensorCount(values.tiltDeg), sensorCount(values.rollDeg),
                  std::clamp(values.pressure, 0, 0xFFF), std::clamp(values.temperature, 0, 0xFFF),
                  values.distanceCount < 0 ? '-' : '@', distance,
                  static_cast<unsigned>(values.frameNumber % 100000000u));
    std::memcpy(status.bytes.data(), text, std::strlen(text));
    status.bytes[0] = values.marker ? 0x55 : 0x00;
    status.bytes[1] = 0x3C;
    return status;
}

} // namespace dorvane::probesim
