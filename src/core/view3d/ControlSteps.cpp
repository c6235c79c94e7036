#include "core/view3d/ControlSteps.h"

namespace dorvane::controlsteps {

namespace {

constexpr float TwoPi = 6.28318530718f;

} // namespace

float draggedAxisAngle(int position)
{
    return static_cast<float>(position) * TwoPi / static_cast<float>(SliderMaximum);
}

int steppedSliderPosition(int position, int delta)
{
    const int next = position + delta;
    if (next < 0)
        return SliderMaximum;
    if (next > SliderMaximum)
        return 0;
    return next;
}

float steppedAxisAngle(int position)
{
    return static_cast<float>(position) * TwoPi / static_cast<float>(SliderMaximum + 1);
}

int steppedTilt(int counter, int delta)
{
    const int next = counter + delta;
    if (next > TiltSteps)
        return 1;
    if (next < 0)
        return TiltSteps - 1;
    return next;
}

float tiltAngle(int counter)
{
    return static_cast<float>(counter) * TiltStepRadians;
}

} // namespace dorvane::controlsteps
