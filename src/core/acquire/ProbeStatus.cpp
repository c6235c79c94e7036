#include "core/acquire/ProbeStatus.h"

namespace dorvane {

namespace {

constexpr int TiltOffset = 3;
constexpr int RollOffset = 7;
constexpr int PressureOffset = 10;
constexpr int TemperatureOffset = 13;
constexpr int HexDigits = 3;
constexpr int SignOffset = 28;
constexpr int DistanceOffset = 29;
constexpr int DistanceDigits = 6;
constexpr uint8_t PositiveSign = 0x40;
constexpr float MetresPerCount = 0.005f;

int hexDigit(uint8_t c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<uint8_t>(c - 'a' + 'A');
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int hexField(const std::array<uint8_t, ProbeStatus::Size> &bytes, int offset)
{
    int value = 0;
    for (int i = offset; i < offset + HexDigits; ++i) {
        const int digit = hexDigit(bytes[i]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

bool isSpace(uint8_t c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

bool ProbeStatus::hasMarker() const
{
    return bytes[0] == 0x55 && bytes[1] == 0x3C;
}

int ProbeStatus::tiltCount() const
{
    return hexField(bytes, TiltOffset);
}

int ProbeStatus::rollCount() const
{
    return hexField(bytes, RollOffset);
}

int ProbeStatus::pressure() const
{
    return hexField(bytes, PressureOffset);
}

int ProbeStatus::temperature() const
{
    return hexField(bytes, TemperatureOffset);
}

int ProbeStatus::distanceCount() const
{
    // As atoi reads the six characters: blanks, a sign, then digits up to the
    // first that is not one.
    int i = DistanceOffset;
    const int end = DistanceOffset + DistanceDigits;
    while (i < end && isSpace(bytes[i]))
        ++i;
    bool negative = false;
    if (i < end && (bytes[i] == '+' || bytes[i] == '-'))
        negative = bytes[i++] == '-';
    int value = 0;
    for (; i < end && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
        value = value * 10 + (bytes[i] - '0');
    if (negative)
        value = -value;
    return bytes[SignOffset] == PositiveSign ? value : -value;
}

float ProbeStatus::distanceMetres() const
{
    return static_cast<float>(distanceCount()) * MetresPerCount;
}

float ProbeStatus::tiltDegrees() const
{
    return probeAngle(tiltCount());
}

float ProbeStatus::rollDegrees() const
{
    return probeAngle(rollCount());
}

float probeAngle(int count)
{
    // A 12-bit two's complement reading: the upper half is negative.
    const bool negative = count > 2047;
    const int m = negative ? 4095 - count : count;
    double degrees;
    if (m <= 400)
        degrees = m * 0.025;
    else if (m <= 1100)
        degrees = 10 + (m - 400) * 0.028571429;
    else if (m <= 1900)
        degrees = 30 + (m - 1100) * 0.025;
    else
        degrees = 50 + (m - 1900) * 0.04256757;
    const float angle = static_cast<float>(degrees);
    return negative ? -angle : angle;
}

} // namespace dorvane
