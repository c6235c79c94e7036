#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "render/PipeRenderer.h"
#include "ui/view3d/PipeView.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// The 3D page of a real window, drawn with OpenGL.
class PipePageTest : public MainWindowTest
{
protected:
    void showPipePage()
    {
        QTest::mouseClick(child<QToolButton>("view3dPageButton"), Qt::LeftButton);
        ASSERT_EQ(window->visibleView(), MainWindow::View::Pipe);
        ASSERT_NE(view().renderer(), nullptr);
        paint();
    }
    PipeView &view() { return window->pipeView(); }
    PipeRenderer &renderer() { return *view().renderer(); }
    // The picture as the view paints it (rendered on demand).
    QImage paint()
    {
        QImage image(view().size(), QImage::Format_RGB32);
        view().render(&image);
        return image;
    }
    int yellowPixels()
    {
        paint();
        const QImage &picture = renderer().picture();
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y);
                count += qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) < 16;
            }
        return count;
    }
};

TEST_F(PipePageTest, OpensOnTheCentreViewpointWithTheCurrentBandInYellow)
{
    open(survey(30));
    goTo(12);
    showPipePage();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(renderer().frameCount(), 30);
    EXPECT_EQ(renderer().highlight(), 12);
    EXPECT_FLOAT_EQ(renderer().camera().offset().y, 0.24f);
    EXPECT_FLOAT_EQ(renderer().camera().eye().z, -4.0f);

    const QImage shown = paint();
    const QImage &picture = renderer().picture();
    EXPECT_NE(picture.pixel(5, 250), qRgb(0, 0, 0));
    int drawn = 0;
    for (int y = 0; y < 500; y += 5)
        for (int x = 0; x < 500; x += 5)
            drawn += picture.pixel(x, y) != qRgb(120, 120, 120);
    EXPECT_GT(drawn, 500);
    // The overlay's frame counter is drawn over the picture, not into it.
    EXPECT_NE(shown, picture.convertToFormat(QImage::Format_RGB32));

    // Playback moves the band: the frame shown is highlighted.
    session().step(SurveySession::Direction::Forwards);
    EXPECT_EQ(renderer().highlight(), 13);
    EXPECT_FLOAT_EQ(renderer().camera().offset().y, 0.26f);
}

TEST_F(PipePageTest, NothingChangesTheSurveyWhileItsModelIsBuilt)
{
    open(survey(30));
    const std::string other = survey(5, 7);
    // Runs inside the build, at its first progress post.
    bool ran = false, enabled = true, opened = true, edited = true, deleted = true;
    QTimer::singleShot(0, window.get(), [&] {
        ran = true;
        enabled = window->isEnabled();
        opened = session().openFile(QString::fromStdString(other));
        edited = session().applyToFrames(BulkEdit{BulkEditKind::PipeRadius, 300, {}, 0});
        deleted = session().deleteCurrentFrame();
    });
    showPipePage();
    ASSERT_TRUE(ran);
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(edited);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(session().frameCount(), 30);
    EXPECT_EQ(renderer().frameCount(), 30);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(PipePageTest, TheControlPanelTurnsTiltsZoomsAndChoosesViewpoints)
{
    open(survey(20));
    showPipePage();
    PipeCamera &camera = renderer().camera();
    const QImage before = paint();

    QTest::mouseClick(child<QToolButton>("turnLeftButton"), Qt::LeftButton);
    EXPECT_EQ(child<QSlider>("axisSlider")->value(), 40);
    EXPECT_NEAR(camera.axisAngle(), 6.129937f, 1e-4f);
    EXPECT_NE(paint(), before);

    QTest::mouseClick(child<QToolButton>("tiltDownButton"), Qt::LeftButton);
    EXPECT_NEAR(camera.tiltAngle(), 5.969026f, 1e-4f);
    QTest::mouseClick(child<QToolButton>("zoomInButton"), Qt::LeftButton);
    EXPECT_NEAR(camera.arcBall().translation()[3].z, -0.083333f, 1e-4f);

    QTest::mouseClick(child<QPushButton>("farViewpointButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QToolButton>("fixedCameraBox")->isChecked());
    EXPECT_TRUE(camera.isFixed());
    EXPECT_EQ(child<QSlider>("axisSlider")->value(), 0);
    EXPECT_EQ(camera.axisAngle(), 0.0f);
    EXPECT_FLOAT_EQ(camera.eye().y, -0.4f);

    // A fixed camera leaves the model in place: only the band moves.
    const glm::vec3 offset = camera.offset();
    session().step(SurveySession::Direction::Forwards);
    EXPECT_EQ(camera.offset(), offset);
    EXPECT_EQ(renderer().highlight(), 1);

    QTest::mouseClick(child<QPushButton>("insideViewpointButton"), Qt::LeftButton);
    EXPECT_FALSE(camera.isFixed());
    EXPECT_FLOAT_EQ(camera.eye().y, -2.3f);
}

TEST_F(PipePageTest, TheMouseTurnsTheModelAndKeysReachTheWindow)
{
    open(survey(20));
    goTo(4);
    showPipePage();
    const QImage before = paint();
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 250));
    EXPECT_EQ(window->focusWidget(), &view());
    QMouseEvent move(QEvent::MouseMove, QPointF(170, 250), view().mapToGlobal(QPointF(170, 250)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view(), &move);
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(170, 250));
    EXPECT_NE(renderer().camera().arcBall().orientation(), glm::quat(1, 0, 0, 0));
    EXPECT_NE(paint(), before);

    // W: wireframe and back.
    QTest::keyClick(&view(), Qt::Key_W);
    EXPECT_FALSE(renderer().isSolid());
    QTest::keyClick(&view(), Qt::Key_W);
    EXPECT_TRUE(renderer().isSolid());

    // The window's own keys still step the frames after a click in the view.
    QTest::keyClick(&view(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(session().currentIndex(), 5);
    QTest::keyClick(&view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(session().currentIndex(), 4);
    EXPECT_EQ(renderer().highlight(), 4);
    // Escape reaches the window, which asks whether to exit.
    prompts.questions.clear();
    prompts.answers = {MessageSink::Answer::Cancel};
    QTest::keyClick(&view(), Qt::Key_Escape);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::ConfirmExit});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PipePageTest, ALostContextIsRebuiltAndAnEditedSurveyIsBuiltAgain)
{
    open(survey(20));
    showPipePage();
    renderer().loseContext();
    // Found out at the next picture, here that of the next frame.
    session().step(SurveySession::Direction::Forwards);
    paint();
    EXPECT_EQ(view().renderer(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return view().renderer() != nullptr; }));
    EXPECT_EQ(renderer().frameCount(), 20);
    EXPECT_FLOAT_EQ(renderer().camera().eye().z, -4.0f);
    EXPECT_NE(paint().pixel(5, 250), qRgb(0, 0, 0));

    // Deleting a frame changes the survey: the model follows.
    prompts.answers = {MessageSink::Answer::Ok};
    ASSERT_TRUE(session().deleteCurrentFrame());
    paint();
    EXPECT_EQ(renderer().frameCount(), 19);
}

} // namespace

TEST_F(PipePageTest, TheScreenshotOfThe3dPageIsTheRenderedPictureWithoutTheOverlay)
{
    open(survey(20));
    showPipePage();
    const std::string path = dir.file("pipe.bmp");
    prompts.nextSaveFile = QString::fromStdString(path);
    QTest::mouseClick(child<QToolButton>("screenshotButton"), Qt::LeftButton);
    EXPECT_TRUE(prompts.messages.empty());
    const auto bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), 54u + 1500u * 500u);
    // The rendered picture, pixel for pixel: the overlay shown on screen
    // (the frame counter at the top left) is not in the file.
    const QImage &picture = renderer().picture();
    const QImage shown = paint();
    int differFromScreen = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x) {
            const size_t at = 54 + static_cast<size_t>(499 - y) * 1500 + 3 * x;
            const QRgb p = picture.pixel(x, y);
            ASSERT_EQ(qRgb(bytes[at + 2], bytes[at + 1], bytes[at]), p) << x << "," << y;
            differFromScreen += shown.pixel(x, y) != p;
        }
    EXPECT_GT(differFromScreen, 50);
}
