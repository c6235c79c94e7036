#include "core/view3d/ArcBall.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace dorvane {

void ArcBall::setWindowSize(int width, int height)
{
    m_width = std::max(width, 1);
    m_height = std::max(height, 1);
}

void ArcBall::reset()
{
    m_down = m_now = glm::quat(1, 0, 0, 0);
    m_rotation = m_translation = glm::mat4(1.0f);
    m_dragging = false;
    m_step = 1.0f;
}

glm::vec3 ArcBall::toSphere(int x, int y) const
{
    // The half sizes are whole pixels, as the window reports its centre.
    const float sx =
        static_cast<float>(m_width / 2 - x) / (SphereRadius * static_cast<float>(m_width) * 0.5f);
    const float sy =
        static_cast<float>(y - m_height / 2) / (SphereRadius * static_cast<float>(m_height) * 0.5f);
    const float m = sx * sx + sy * sy;
    if (m > 1.0f) {
        const float scale = 1.0f / std::sqrt(m);
        return {sx * scale, sy * scale, 0.0f};
    }
    return {sx, sy, std::sqrt(1.0f - m)};
}

void ArcBall::leftButtonDown(int x, int y)
{
    m_dragging = true;
    m_sphereDown = toSphere(x, y);
    m_down = m_now;
}

void ArcBall::mouseMove(int x, int y, Held held)
{
    switch (held) {
    case Held::Left:
        if (m_dragging) {
            const glm::vec3 a = glm::normalize(m_sphereDown);
            const glm::vec3 b = glm::normalize(toSphere(x, y));
            const glm::vec3 half = glm::normalize(a + b);
            const glm::vec3 axis = glm::cross(a, half);
            const glm::quat step(glm::dot(a, half), axis.x, axis.y, axis.z);
            // The turn so far, followed by this drag's.
            m_now = step * m_down;
        }
        m_rotation = glm::mat4_cast(m_now);
        m_dragging = true;
        break;
    case Held::Right:
    case Held::Middle: {
        const float d = static_cast<float>(m_last.y - y) * m_step / static_cast<float>(m_height);
        if (held == Held::Right)
            translate(
                {-2.0f * static_cast<float>(m_last.x - x) * m_step / static_cast<float>(m_width),
                 2.0f * d, 0.0f});
        else
            translate({0.0f, 0.0f, 5.0f * d});
        m_last = glm::ivec2(x, y);
        break;
    }
    }
}

void ArcBall::wheel(int delta)
{
    translate({0.0f, 0.0f, static_cast<float>(delta) / 120.0f * -0.2f * m_step});
}

void ArcBall::translate(const glm::vec3 &step)
{
    m_translation = m_translation * glm::translate(glm::mat4(1.0f), step);
}

} // namespace dorvane
