#pragma once

#include "core/data/FrameHeader.h"

namespace dorvane {

// The sonar picture is PictureSize pixels square with the probe at its
// centre; the picture disc of PictureRadius pixels stands for the frame's
// detection radius. Positions are image pixels with y counted downwards.
constexpr int PictureSize = 500;
constexpr int PictureRadius = PictureSize / 2;

// The smallest pipe radius the operator can set, in millimetres.
constexpr int MinimumPipeRadiusMm = 50;

// A point of the picture in screen orientation (y counted downwards).
struct ScreenPoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint &, const ScreenPoint &) = default;
};

constexpr ScreenPoint PictureCentre{PictureRadius, PictureRadius};

// The pipe centre a frame's sediment is measured from: its circle when the
// circle tool is on, otherwise the picture centre.
ScreenPoint pipeCentre(const FrameHeader &header);

// The circle's radius in pixels: pipeRadius * PictureRadius / detectRadius,
// rounded.
// A detection radius of 0 has no scale and gives 0.
int circleRadiusPixels(const FrameHeader &header);

// A circle that reaches out of the picture disc (PictureRadius around the
// probe) is moved along the line to the picture centre until it fits. A
// centre on the probe has no such line and stays.
ScreenPoint pullIntoDisc(ScreenPoint centre, int radius);

// The circle tool's rule: the circle's square is pushed back inside the
// picture, then the circle into the disc.
ScreenPoint keepCircleInPicture(ScreenPoint centre, int radius);

// Where the circle of a header is drawn, in image pixels: its centre, pulled
// back so that the whole circle lies inside the picture disc, and its radius.
struct DrawnCircle
{
    ScreenPoint centre;
    int radius = 0;
    friend bool operator==(const DrawnCircle &, const DrawnCircle &) = default;
};
DrawnCircle drawnCircle(const FrameHeader &header);

// A point outside the picture disc is moved onto its edge, towards the
// centre.
ScreenPoint projectOntoDisc(ScreenPoint point);

} // namespace dorvane
