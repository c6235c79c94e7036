#include "core/view3d/PipeCamera.h"

#include "core/view3d/ArcBall.h"
#include "core/view3d/ControlSteps.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

constexpr float Near = 1e-4f;

glm::vec3 applied(const glm::mat4 &m, glm::vec3 p)
{
    const glm::vec4 r = m * glm::vec4(p, 1.0f);
    return glm::vec3(r) / r.w;
}

void expectVec(glm::vec3 actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x, x, Near);
    EXPECT_NEAR(actual.y, y, Near);
    EXPECT_NEAR(actual.z, z, Near);
}

TEST(ControlSteps, SliderAndTiltWrapAtTheirEnds)
{
    using namespace controlsteps;
    EXPECT_NEAR(draggedAxisAngle(40), 6.283185f, Near);
    EXPECT_NEAR(draggedAxisAngle(10), 1.570796f, Near);

    EXPECT_EQ(steppedSliderPosition(40, +1), 0);
    EXPECT_EQ(steppedSliderPosition(0, -1), 40);
    EXPECT_EQ(steppedSliderPosition(17, +1), 18);
    // 40 steps of 41 per turn: 6.128 rad, one step short of a turn.
    EXPECT_NEAR(steppedAxisAngle(40), 6.129937f, Near);

    EXPECT_EQ(steppedTilt(20, +1), 1);
    EXPECT_EQ(steppedTilt(0, -1), 19);
    EXPECT_EQ(steppedTilt(19, +1), 20);
    EXPECT_NEAR(tiltAngle(1), 0.314159f, Near);  // 18 degrees
    EXPECT_NEAR(tiltAngle(19), 5.969026f, Near); // 342 degrees
}

TEST(PipeCamera, ZoomAndPanScaleWithTheModelUntilAPreset)
{
    PipeCamera camera;
    camera.setWindowSize(500, 500);
    camera.modelBuilt();
    camera.zoom(50);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, -0.166667f, Near);
    camera.arcBall().wheel(120);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, -0.566667f, Near);
    camera.pan(50, 0);
    camera.pan(0, -50);
    EXPECT_NEAR(camera.arcBall().translation()[3].x, -0.4f, Near);
    EXPECT_NEAR(camera.arcBall().translation()[3].y, -0.4f, Near);

    camera.setViewpoint(PipeCamera::Centre, 2.0f);
    EXPECT_EQ(camera.viewScale(), 2.0f); // the preset keeps the view scale
    expectVec(glm::vec3(camera.arcBall().translation()[3]), 0, 0, 0);
    camera.zoom(50);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, -0.083333f, Near);
    camera.arcBall().wheel(120);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, -0.283333f, Near);
    camera.arcBall().wheel(-240);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, 0.116667f, Near);
}

TEST(PipeCamera, PresetsFrameTheModelsLength)
{
    PipeCamera camera;
    camera.modelBuilt();
    camera.setAxisAngle(1.0f);
    camera.setTiltAngle(0.5f);

    camera.setViewpoint(PipeCamera::Outside, 2.0f);
    EXPECT_EQ(camera.axisAngle(), 0.0f);
    EXPECT_EQ(camera.tiltAngle(), 0.0f);
    expectVec(camera.eye(), 0, -1, -6);
    expectVec(camera.target(), 0, 1, 0);
    expectVec(camera.up(), -1, 1, 0);

    camera.setViewpoint(PipeCamera::Inside, 2.0f);
    expectVec(camera.eye(), 0, -2.3f, 0);
    expectVec(camera.target(), 0, 10, 0);
    expectVec(camera.up(), 0, 0, -1);

    camera.setViewpoint(PipeCamera::Far, 2.0f);
    expectVec(camera.eye(), 0, -2, -12);
    expectVec(camera.target(), 0, 0, 0);
    expectVec(camera.up(), 0, 1, 0);

    camera.setViewpoint(PipeCamera::Centre, 2.0f);
    expectVec(camera.eye(), 0, 1, -4);

    // An unknown preset only resets.
    camera.setAxisAngle(1.0f);
    camera.setViewpoint(7, 2.0f);
    EXPECT_EQ(camera.axisAngle(), 0.0f);
    expectVec(camera.eye(), 0, 1, -4);
}

TEST(PipeCamera, WorldMovesBackToTheFrameThenTurnsAboutTheAxisThenTilts)
{
    PipeCamera camera;
    camera.followFrame(50); // ring 50 lies at y = 1
    expectVec(camera.offset(), 0, 1, 0);
    expectVec(applied(camera.world(), {0, 1, 0}), 0, 0, 0);

    camera.setAxisAngle(1.5707963f);
    expectVec(applied(camera.world(), {0, 1, 1}), 1, 0, 0);
    camera.setTiltAngle(1.5707963f);
    // About the axis first: (0, 0, 1) goes to (1, 0, 0), which the tilt
    // lifts to (0, 1, 0). The other order would leave (1, 0, 0).
    expectVec(applied(camera.world(), {0, 1, 1}), 0, 1, 0);

    camera.setFixed(true);
    camera.followFrame(10);
    expectVec(camera.offset(), 0, 1, 0);
    camera.setFixed(false);
    camera.followFrame(-1);
    expectVec(camera.offset(), 0, 1, 0);
}

TEST(PipeCamera, ViewAndProjectionAreLeftHanded)
{
    PipeCamera camera;
    camera.modelBuilt();
    camera.setViewpoint(PipeCamera::Centre, 2.0f);
    // The target lies straight ahead, along +z, at the eye's distance.
    expectVec(applied(camera.view(), {0, 0, 0}), 0, 0, 4.123106f);
    // OpenGL's depth range: the near plane at -1, the far plane at +1.
    EXPECT_NEAR(applied(PipeCamera::projection(), {0, 0, 1}).z, -1.0f, Near);
    EXPECT_NEAR(applied(PipeCamera::projection(), {0, 0, 100}).z, 1.0f, Near);
    // 45 degrees: a point at height z tan(22.5 deg) is on the top edge.
    EXPECT_NEAR(applied(PipeCamera::projection(), {0, 0.828427f, 2}).y, 1.0f, Near);
}

TEST(ArcBall, ALeftDragTurnsThePointUnderTheMouse)
{
    ArcBall ball;
    ball.setWindowSize(400, 400);
    expectVec(ball.toSphere(200, 200), 0, 0, 1);
    // Sphere radius 0.85 of the half window: 170 pixels.
    expectVec(ball.toSphere(115, 200), 0.5f, 0, 0.866025f);
    expectVec(ball.toSphere(200, 370), 0, 1, 0);
    expectVec(ball.toSphere(0, 200), 1, 0, 0); // outside the sphere: on its rim

    ball.leftButtonDown(200, 200);
    ball.mouseMove(115, 200, ArcBall::Held::Left);
    // 30 degrees about y: the front of the ball follows the mouse.
    expectVec(glm::vec3(ball.rotation() * glm::vec4(0, 0, 1, 0)), 0.5f, 0, 0.866025f);
    ball.leftButtonUp();
    EXPECT_FALSE(ball.isDragging());

    // A second drag, downwards, follows the first: 30 degrees about y, then
    // -30 about x. The other order would give (0.433, 0.5, 0.75).
    ball.leftButtonDown(200, 200);
    ball.mouseMove(200, 285, ArcBall::Held::Left);
    expectVec(glm::vec3(ball.rotation() * glm::vec4(0, 0, 1, 0)), 0.5f, 0.433013f, 0.75f);
}

TEST(ArcBall, RightAndMiddleDragsMoveTheModel)
{
    ArcBall ball;
    ball.setWindowSize(500, 400);
    ball.setTranslationStep(2.0f);
    ball.otherButtonDown(100, 100);
    ball.mouseMove(150, 80, ArcBall::Held::Right);
    // x: -2 (100 - 150) 2 / 500 = 0.4; y: 2 (100 - 80) 2 / 400 = 0.2.
    expectVec(glm::vec3(ball.translation()[3]), 0.4f, 0.2f, 0);
    ball.mouseMove(150, 60, ArcBall::Held::Middle);
    // z: 5 (80 - 60) 2 / 400 = 0.5.
    expectVec(glm::vec3(ball.translation()[3]), 0.4f, 0.2f, 0.5f);
    ball.reset();
    expectVec(glm::vec3(ball.translation()[3]), 0, 0, 0);
    EXPECT_EQ(ball.translationStep(), 1.0f);
}

} // namespace
} // namespace dorvane
