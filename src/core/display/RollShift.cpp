#include "core/display/RollShift.h"

namespace dorvane {

int rollShift(float roll)
{
    // Written so that NaN fails the range test.
    if (!(roll <= 45.0f && roll >= -45.0f))
        return 0;
    const float beams = roll * 1.1111112f;
    return static_cast<int>(beams);
}

} // namespace dorvane
