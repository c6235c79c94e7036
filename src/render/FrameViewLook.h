#pragma once

namespace dorvane {

// How the frame view draws a frame, beyond the frame itself: the graphics
// panel's palette and the overlay's scale grid. The defaults are the
// program's own at start.
struct FrameViewLook
{
    int minLevel = 0;
    int maxLevel = 255;
    int colourCount = 256;
    bool grey = false;
    bool showGrid = false;
};

} // namespace dorvane
