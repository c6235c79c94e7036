#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace dorvane::probe {

// Request codes of the probe.
constexpr uint8_t QueryState = 0x3F;
constexpr uint8_t Start = 0x3D;
constexpr uint8_t Stop = 0x3E;
constexpr uint8_t ZeroDistance = 0x3A;

// The detection radii and pulse widths the probe offers, in list order.
constexpr std::array<int, 12> DetectRadiiMm{125,  187,  250,  375,  500,  750,
                                            1000, 1500, 2000, 3000, 4500, 6000};
constexpr std::array<int, 5> PulseWidthsUs{4, 8, 12, 16, 20};

// The request that sets a detection radius (4500 mm is 0x63: 0x62 is not
// used) or a pulse width; nothing for a value the probe does not offer.
std::optional<uint8_t> detectRadiusRequest(int millimetres);
std::optional<uint8_t> pulseWidthRequest(int microseconds);

} // namespace dorvane::probe
