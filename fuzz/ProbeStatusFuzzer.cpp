// The 64-byte status record the probe hands over with every live frame.
#include "core/acquire/ProbeStatus.h"

#include <algorithm>

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ProbeStatus status;
    std::copy_n(data, std::min(size, status.bytes.size()), status.bytes.begin());
    (void)status.hasMarker();
    (void)status.tiltDegrees();
    (void)status.rollDegrees();
    (void)status.pressure();
    (void)status.temperature();
    (void)status.distanceMetres();
    return 0;
}
