#pragma once

namespace dorvane {

// How many beams the picture turns for a probe roll in degrees: the
// single-precision product roll * (400 / 360) truncated toward zero. A roll
// beyond +-45 degrees, or not a number, turns nothing.
int rollShift(float roll);

} // namespace dorvane
