#include "core/display/PictureGeometry.h"

#include <cmath>
#include <cstdint>

namespace dorvane {

namespace {
constexpr int Centre = PictureRadius;
constexpr int DiscRadius = PictureRadius;

// The distance of a point from the picture centre, truncated.
int distanceFromCentre(ScreenPoint p)
{
    const double dx = p.x - Centre;
    const double dy = p.y - Centre;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

// Centre + reach * (p - centre) / distance, in integers.
ScreenPoint alongRay(ScreenPoint p, int reach, int distance)
{
    return {Centre + static_cast<int>(int64_t{reach} * (p.x - Centre) / distance),
            Centre + static_cast<int>(int64_t{reach} * (p.y - Centre) / distance)};
}
} // namespace

ScreenPoint pipeCentre(const FrameHeader &header)
{
    if (header.circleOn)
        return {header.circleX, header.circleY};
    return PictureCentre;
}

int circleRadiusPixels(const FrameHeader &header)
{
    if (header.detectRadius == 0)
        return 0;
    return static_cast<int>(header.pipeRadius * double{PictureRadius} / header.detectRadius + 0.5);
}

ScreenPoint pullIntoDisc(ScreenPoint centre, int radius)
{
    const int d = distanceFromCentre(centre);
    const int reach = DiscRadius - radius;
    if (d > reach && d > 0)
        return alongRay(centre, reach, d);
    return centre;
}

ScreenPoint keepCircleInPicture(ScreenPoint centre, int radius)
{
    int left = centre.x - radius, top = centre.y - radius;
    const int side = 2 * radius;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (left + side > PictureSize)
        left -= left + side - PictureSize;
    if (top + side > PictureSize)
        top -= top + side - PictureSize;
    return pullIntoDisc({left + radius, top + radius}, radius);
}

DrawnCircle drawnCircle(const FrameHeader &header)
{
    const int radius = circleRadiusPixels(header);
    return {pullIntoDisc({header.circleX, header.circleY}, radius), radius};
}

ScreenPoint projectOntoDisc(ScreenPoint point)
{
    const int d = distanceFromCentre(point);
    if (d <= DiscRadius)
        return point;
    return alongRay(point, DiscRadius, d);
}

} // namespace dorvane
