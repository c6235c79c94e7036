#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

namespace dorvane {

// The mouse trackball of the 3D view: a left drag turns the model on a
// sphere of radius 0.85 of the half window, a right drag moves it across
// the view, a middle drag and the wheel move it towards or away from the
// camera. Distances scale with the translation step R (1 after a reset, the
// model's size after a build).
class ArcBall
{
public:
    static constexpr float SphereRadius = 0.85f;

    ArcBall() { reset(); }

    void setWindowSize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Identity rotation and translation, no drag, R = 1.
    void reset();
    void setTranslationStep(float step) { m_step = step; }
    float translationStep() const { return m_step; }

    // The mouse, in window pixels.
    void leftButtonDown(int x, int y);
    void leftButtonUp() { m_dragging = false; }
    // Right or middle button.
    void otherButtonDown(int x, int y) { m_last = glm::ivec2(x, y); }
    enum class Held
    {
        Left,
        Right,
        Middle
    };
    void mouseMove(int x, int y, Held held);
    void wheel(int delta);

    // Moves the model by step; steps accumulate.
    void translate(const glm::vec3 &step);

    // The point of the sphere under a window point.
    glm::vec3 toSphere(int x, int y) const;

    const glm::quat &orientation() const { return m_now; }
    const glm::mat4 &rotation() const { return m_rotation; }
    const glm::mat4 &translation() const { return m_translation; }
    bool isDragging() const { return m_dragging; }

private:
    int m_width = 1;
    int m_height = 1;
    float m_step = 1.0f;
    glm::quat m_down{1, 0, 0, 0};
    glm::quat m_now{1, 0, 0, 0};
    glm::mat4 m_rotation{1.0f};
    glm::mat4 m_translation{1.0f};
    bool m_dragging = false;
    glm::ivec2 m_last{0, 0};
    glm::vec3 m_sphereDown{0, 0, 1};
};

} // namespace dorvane
