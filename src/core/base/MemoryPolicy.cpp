#include "core/base/MemoryPolicy.h"

#include <malloc.h>

namespace dorvane {

void returnLargeBlocksWhenFreed()
{
    // Setting the thresholds also ends their automatic raising.
    constexpr int Threshold = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, Threshold);
    mallopt(M_TRIM_THRESHOLD, 2 * Threshold);
}

} // namespace dorvane
