#pragma once

#include "render/FrameOverlay.h"

namespace dorvane {
class AnimationDocument;
struct FrameRecord;
} // namespace dorvane

namespace dorvane::cli {

// An overlay of frame index of the survey that shows its title and notes as
// the settings say, as the program's views do.
FrameOverlay viewOverlay(const AnimationDocument &doc, const FrameRecord &frame, int index);

} // namespace dorvane::cli
