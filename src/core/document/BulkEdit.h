#pragma once

#include "core/data/FrameHeader.h"
#include "core/display/PictureGeometry.h"

namespace dorvane {

// What a bulk edit sets on the frames it applies to.
enum class BulkEditKind : int
{
    ReportShot = 0,   // reportShot = value != 0, on every frame
    PipeRadius = 1,   // pipeRadius = value, on every frame
    ErrorRate = 2,    // errorRate = value, on every frame
    CircleUpTo = 301, // the circle and the current pipe radius, frames 0..value
    CircleFrom = 302, // the same, frames value..N-1
};

struct BulkEdit
{
    // A value outside the named kinds leaves headers unchanged.
    BulkEditKind kind = BulkEditKind::ReportShot;
    int value = 0;
    ScreenPoint circle;
    uint16_t currentPipeRadius = 0; // of the frame the circle was set on
};

// Applies the edit to frame index of a survey of frameCount frames.
void applyBulkEdit(const BulkEdit &edit, int index, int frameCount, FrameHeader &header);

} // namespace dorvane
