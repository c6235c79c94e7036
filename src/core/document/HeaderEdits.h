#pragma once

#include <functional>

namespace dorvane {

struct FrameHeader;
class AnimationFileHeader;

// A change the operator asked for, applied to the survey's own header in
// memory. Edits are functions rather than finished headers so that every
// edit starts from what the survey holds and touches only its own fields.
using FrameEdit = std::function<void(FrameHeader &)>;
using FileHeaderEdit = std::function<void(AnimationFileHeader &)>;

} // namespace dorvane
