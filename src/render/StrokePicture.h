#pragma once

#include "core/display/PictureGeometry.h"

#include <QPoint>
#include <cstdint>
#include <vector>

class QPainter;
class QRect;

namespace dorvane {

class FrameOverlay;
struct FrameHeader;

// What the stroke view shows of a frame: its wall profile points against the
// tolerance band around the pipe circle.
struct StrokeProfile
{
    QPoint centre{PictureCentre.x, PictureCentre.y}; // image pixels, y downwards
    int innerRadius = 0;
    int outerRadius = 0;
    std::vector<uint32_t> points; // pixel codes (x low, image y upwards high)

    void reset() { *this = StrokeProfile(); }
};

// A frame's profile: its peak points, its tolerance band and its pipe centre.
StrokeProfile makeStrokeProfile(const FrameHeader &header, std::vector<uint32_t> points);

// Draws the stroke view into rect (a square): grey background, the band's
// lighter outer and darker inner half, the 51 x 51 grid, the profile points,
// then the overlay with its texts.
void drawStrokePicture(QPainter &painter, const QRect &rect, const StrokeProfile &profile,
                       const FrameOverlay &overlay);

} // namespace dorvane
