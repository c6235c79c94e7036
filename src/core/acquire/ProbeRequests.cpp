#include "core/acquire/ProbeRequests.h"

namespace dorvane::probe {

namespace {

// One request per radius, in the order of DetectRadiiMm; 0x62 is skipped.
constexpr std::array<uint8_t, 12> DetectRadiusRequests{0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D,
                                                       0x5E, 0x5F, 0x60, 0x61, 0x63, 0x64};
constexpr std::array<uint8_t, 5> PulseWidthRequests{0x24, 0x25, 0x26, 0x27, 0x28};

template<size_t N>
std::optional<uint8_t> lookUp(const std::array<int, N> &values,
                              const std::array<uint8_t, N> &requests, int value)
{
    for (size_t i = 0; i < N; ++i)
        if (values[i] == value)
            return requests[i];
    return std::nullopt;
}

} // namespace

std::optional<uint8_t> detectRadiusRequest(int millimetres)
{
    return lookUp(DetectRadiiMm, DetectRadiusRequests, millimetres);
}

std::optional<uint8_t> pulseWidthRequest(int microseconds)
{
    return lookUp(PulseWidthsUs, PulseWidthRequests, microseconds);
}

} // namespace dorvane::probe
