#include "core/data/FrameRecord.h"

namespace dorvane {

void FrameRecord::clear()
{
    header = FrameHeader{};
    samples.fill(0);
}

} // namespace dorvane
