#pragma once

#include "display/Sediment.h"

namespace dorvane {

// Geometry of the pipe circle and the ruler on the 500 x 500 picture, in
// image pixels with y counted downwards.

// The circle's radius in pixels: pipeRadius * 250 / detectRadius, rounded.
// A detection radius of 0 has no scale and gives 0.
int circleRadiusPixels(const FrameHeader &header);

// A circle that reaches out of the picture disc (radius 250 around the
// probe) is moved along the line to the picture centre until it fits. A
// centre on the probe has no such line and stays.
ScreenPoint pullIntoDisc(ScreenPoint centre, int radius);

// The circle tool's rule: the circle's square is pushed back inside the
// picture, then the circle into the disc.
ScreenPoint keepCircleInPicture(ScreenPoint centre, int radius);

// A point outside the picture disc is moved onto its edge, towards the
// centre.
ScreenPoint projectOntoDisc(ScreenPoint point);

} // namespace dorvane
