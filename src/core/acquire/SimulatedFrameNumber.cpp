#include "core/acquire/SimulatedFrameNumber.h"

#include "core/base/ByteOrder.h"

namespace dorvane {

void stampSimulatedFrameNumber(uint8_t *samples, uint32_t number)
{
    le::writeU32(samples, number);
}

uint32_t simulatedFrameNumber(const uint8_t *samples)
{
    return le::readU32(samples);
}

} // namespace dorvane
