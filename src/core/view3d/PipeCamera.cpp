#include "core/view3d/PipeCamera.h"

#include "core/view3d/PipeMesh.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace dorvane {

namespace {

constexpr float BuiltViewScale = 2.0f;

} // namespace

PipeCamera::PipeCamera()
{
    // Until the first preset the camera looks as the centre viewpoint does
    // on a built model.
    m_eye = {0.0f, 1.0f, -2.0f * BuiltViewScale};
    m_target = {0.0f, 0.0f, 0.0f};
    m_up = {0.0f, 1.0f, 0.0f};
}

void PipeCamera::modelBuilt()
{
    m_viewScale = BuiltViewScale;
    m_arcBall.setTranslationStep(BuiltViewScale);
}

void PipeCamera::setViewpoint(int viewpoint, float modelLength)
{
    m_axisAngle = 0;
    m_tiltAngle = 0;
    m_arcBall.reset();
    const float l = modelLength;
    const float r = m_viewScale;
    switch (viewpoint) {
    case Outside:
        m_eye = {0.0f, -l / 2.0f, -3.0f * r};
        m_target = {0.0f, l / 2.0f, 0.0f};
        m_up = {-1.0f, 1.0f, 0.0f};
        break;
    case Inside:
        m_eye = {0.0f, -2.3f, 0.0f};
        m_target = {0.0f, 10.0f, 0.0f};
        m_up = {0.0f, 0.0f, -1.0f};
        break;
    case Far:
        m_eye = {0.0f, -l, -6.0f * r};
        m_target = {0.0f, 0.0f, 0.0f};
        m_up = {0.0f, 1.0f, 0.0f};
        break;
    case Centre:
        m_eye = {0.0f, 1.0f, -2.0f * r};
        m_target = {0.0f, 0.0f, 0.0f};
        m_up = {0.0f, 1.0f, 0.0f};
        break;
    default:
        break;
    }
}

void PipeCamera::followFrame(int index)
{
    if (!m_fixed && index >= 0)
        m_offset = {0.0f, PipeMesh::RingSpacing * static_cast<float>(index), 0.0f};
}

void PipeCamera::zoom(int d)
{
    m_arcBall.wheel(d);
}

void PipeCamera::pan(int dx, int dy)
{
    const float r = m_arcBall.translationStep();
    m_arcBall.translate({-2.0f * static_cast<float>(dx) * r / static_cast<float>(m_arcBall.width()),
                         2.0f * static_cast<float>(dy) * r / static_cast<float>(m_arcBall.height()),
                         0.0f});
}

glm::mat4 PipeCamera::world() const
{
    const glm::mat4 identity(1.0f);
    const glm::mat4 back = glm::translate(identity, -m_offset);
    const glm::mat4 axis = glm::rotate(identity, m_axisAngle, glm::vec3(0, 1, 0));
    const glm::mat4 tilt = glm::rotate(identity, m_tiltAngle, glm::vec3(0, 0, 1));
    return m_arcBall.translation() * m_arcBall.rotation() * tilt * axis * back;
}

glm::mat4 PipeCamera::view() const
{
    return glm::lookAtLH(m_eye, m_target, m_up);
}

glm::mat4 PipeCamera::projection()
{
    return glm::perspectiveLH_NO(glm::quarter_pi<float>(), 1.0f, NearPlane, FarPlane);
}

} // namespace dorvane
