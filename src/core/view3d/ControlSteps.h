#pragma once

namespace dorvane {

// The 3D control panel's steps: the slider turns the model about its axis in
// 40 steps, the tilt buttons step through 20 positions.
namespace controlsteps {

constexpr int SliderMaximum = 40;
constexpr int TiltSteps = 20;
constexpr float TiltStepRadians = 0.31415924f;

// Dragging the slider: position 40 is a whole turn.
float draggedAxisAngle(int position);
// The step buttons wrap at both ends and divide the turn into 41 steps, so
// position 40 is one step short of a whole turn.
int steppedSliderPosition(int position, int delta);
float steppedAxisAngle(int position);
// Up from 20 gives 1, down from 0 gives 19.
int steppedTilt(int counter, int delta);
float tiltAngle(int counter);

} // namespace controlsteps
} // namespace dorvane
