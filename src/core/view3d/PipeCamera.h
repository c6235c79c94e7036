#pragma once

#include "core/view3d/ArcBall.h"

#include <glm/glm.hpp>

namespace dorvane {

// Where the 3D view looks from and how the model is turned: the rotation
// about the pipe axis (the slider), the tilt (the step buttons), the
// trackball, the viewpoint presets and the offset along the pipe that keeps
// the current ring in place while the camera follows the frames.
class PipeCamera
{
public:
    static constexpr float NearPlane = 1.0f;
    static constexpr float FarPlane = 100.0f;

    enum Viewpoint
    {
        Outside = 0,
        Inside = 1,
        Far = 2,
        Centre = 3
    };

    PipeCamera();

    void setWindowSize(int width, int height) { m_arcBall.setWindowSize(width, height); }

    // A new model: its size sets the view scale and the trackball's step.
    void modelBuilt();
    // Presets 0..3 for a model of the given length; any preset first turns
    // the model back and resets the trackball. Other values only reset.
    void setViewpoint(int viewpoint, float modelLength);
    // Moves the model along its axis to the frame unless the camera is fixed.
    void followFrame(int index);

    void setAxisAngle(float radians) { m_axisAngle = radians; }
    void setTiltAngle(float radians) { m_tiltAngle = radians; }
    void setFixed(bool fixed) { m_fixed = fixed; }
    // d in wheel units (120 a notch); dx, dy in window pixels.
    void zoom(int d);
    void pan(int dx, int dy);

    float axisAngle() const { return m_axisAngle; }
    float tiltAngle() const { return m_tiltAngle; }
    bool isFixed() const { return m_fixed; }
    float viewScale() const { return m_viewScale; }
    const glm::vec3 &eye() const { return m_eye; }
    const glm::vec3 &target() const { return m_target; }
    const glm::vec3 &up() const { return m_up; }
    const glm::vec3 &offset() const { return m_offset; }
    ArcBall &arcBall() { return m_arcBall; }
    const ArcBall &arcBall() const { return m_arcBall; }

    // Model to world: back by the offset, about the axis, the tilt, then
    // the trackball's turn and move.
    glm::mat4 world() const;
    // Left-handed look-at from the eye.
    glm::mat4 view() const;
    // Left-handed perspective, 45 degrees, square, depth 1..100, with the
    // depth range of OpenGL (-1..1).
    static glm::mat4 projection();

private:
    float m_axisAngle = 0;
    float m_tiltAngle = 0;
    bool m_fixed = false;
    float m_viewScale = 0;
    glm::vec3 m_eye;
    glm::vec3 m_target;
    glm::vec3 m_up;
    glm::vec3 m_offset{0, 0, 0};
    ArcBall m_arcBall;
};

} // namespace dorvane
