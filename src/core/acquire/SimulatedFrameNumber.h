#pragma once

#include <cstdint>

namespace dorvane {

// The probe simulator numbers the frames it delivers, from 0 at each start
// of its stream, so that a recording can be checked for frames lost or
// written twice. The number is stored little-endian in the first four
// samples of beam 0, which lie under the probe's own ring in the picture.
void stampSimulatedFrameNumber(uint8_t *samples, uint32_t number);
uint32_t simulatedFrameNumber(const uint8_t *samples);

} // namespace dorvane
