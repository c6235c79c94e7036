#include "UiTestSupport.h"
#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "ui/display/FrameView.h"

#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class FrameToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        header.signature = FrameHeader::Signature;
        header.detectRadius = 1000;
        header.pipeRadius = 400; // 100 pixels
        header.circleOn = 1;
        header.circleX = 250;
        header.circleY = 250;
        header.rulerOn = 1;
        showHeader();
        // Applied as the survey applies them: an edit that changes no byte
        // is no edit.
        QObject::connect(&view, &FrameView::editRequested, [this](const FrameEdit &edit) {
            FrameHeader edited = header;
            edit(edited);
            if (edited.encoded() != header.encoded()) {
                header = edited;
                ++edits;
            }
            view.updateHeaders(header, file);
        });
        view.show();
    }

    void showHeader() { view.showFrameHeaders(header, file, 0, 1); }

    void drag(Qt::MouseButton button, QPoint from, QPoint to) { dragOn(view, button, from, to); }

    void wheel(int delta)
    {
        QWheelEvent event(QPointF(250, 250), view.mapToGlobal(QPointF(250, 250)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &event);
    }

    FrameHeader header;
    AnimationFileHeader file = AnimationFileHeader::newAnimation();
    FrameView view;
    int edits = 0;
};

} // namespace

TEST_F(FrameToolsTest, DraggingMovesTheCircleByTheMouse)
{
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(130, 80));
    EXPECT_EQ(header.circleX, 280);
    EXPECT_EQ(header.circleY, 230);
    EXPECT_GT(edits, 0);
    EXPECT_FALSE(view.tools().isDraggingCircle());
}

TEST_F(FrameToolsTest, CircleAsLargeAsThePictureStaysCentred)
{
    header.pipeRadius = 1000; // 250 pixels: 250 - r = 0
    showHeader();
    drag(Qt::LeftButton, QPoint(250, 250), QPoint(400, 320));
    EXPECT_EQ(header.circleX, 250);
    EXPECT_EQ(header.circleY, 250);
}

TEST_F(FrameToolsTest, DraggingFarRightStopsAtTheEdgeAndIsPulledIntoTheDisc)
{
    drag(Qt::LeftButton, QPoint(250, 250), QPoint(700, 250)); // clamped to the view
    // The square's right edge stops at 500: centre 400, just inside the disc.
    EXPECT_EQ(header.circleX, 400);
    EXPECT_EQ(header.circleY, 250);
    // Into the corner the square stops at (400, 400), outside the disc: the
    // centre is pulled back to 150 pixels from the picture centre.
    drag(Qt::LeftButton, QPoint(250, 250), QPoint(700, 700));
    EXPECT_EQ(header.circleX, 356);
    EXPECT_EQ(header.circleY, 356);
}

TEST_F(FrameToolsTest, CircleToolOffMovesNothing)
{
    header.circleOn = 0;
    showHeader();
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(200, 200));
    EXPECT_EQ(header.circleX, 250);
    EXPECT_EQ(edits, 0);
}

TEST_F(FrameToolsTest, RulerFromTheCentreEndsOnThePictureEdge)
{
    drag(Qt::RightButton, QPoint(250, 250), QPoint(500, 250));
    EXPECT_EQ(header.rulerX1, 250);
    EXPECT_EQ(header.rulerY1, 250);
    EXPECT_EQ(header.rulerX2, 500);
    EXPECT_EQ(header.rulerY2, 250);
    EXPECT_EQ(header.rulerLengthMm(), 1000); // 250 pixels: the detection radius

    drag(Qt::RightButton, QPoint(250, 250), QPoint(499, 499)); // beyond the disc
    EXPECT_EQ(header.rulerX2, 426);
    EXPECT_EQ(header.rulerY2, 426);
}

TEST_F(FrameToolsTest, RulerNeedsAPressInsideTheDisc)
{
    drag(Qt::RightButton, QPoint(5, 5), QPoint(250, 250));
    EXPECT_EQ(header.rulerX1, 0);
    EXPECT_EQ(header.rulerX2, 0);
    EXPECT_EQ(edits, 0);
}

TEST_F(FrameToolsTest, LockedToolsDoNothing)
{
    view.setToolsLocked(true);
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(200, 200));
    drag(Qt::RightButton, QPoint(250, 250), QPoint(300, 250));
    wheel(240);
    EXPECT_EQ(header.circleX, 250);
    EXPECT_EQ(header.rulerX2, 0);
    EXPECT_EQ(header.pipeRadius, 400);
    EXPECT_EQ(edits, 0);
}

TEST_F(FrameToolsTest, WheelChangesThePipeRadiusByTwoMillimetresANotch)
{
    wheel(240);
    EXPECT_EQ(header.pipeRadius, 404);
    EXPECT_EQ(edits, 1);
    wheel(-120);
    EXPECT_EQ(header.pipeRadius, 402);
    wheel(360); // three notches at once: nothing
    EXPECT_EQ(header.pipeRadius, 402);
    wheel(60); // less than a notch: nothing
    EXPECT_EQ(edits, 2);

    header.pipeRadius = 51;
    showHeader();
    wheel(-240);
    EXPECT_EQ(header.pipeRadius, 50);
    wheel(-240); // already at the bottom: no edit
    EXPECT_EQ(edits, 3);
    header.pipeRadius = 999;
    showHeader();
    wheel(240);
    EXPECT_EQ(header.pipeRadius, 1000);
}

TEST_F(FrameToolsTest, WheelWithTheCircleOffStillKeepsTheCircleInThePicture)
{
    header.circleOn = 0;
    header.circleX = 480;
    header.circleY = 470;
    showHeader();
    wheel(120);
    EXPECT_EQ(header.pipeRadius, 400);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(header.circleX, 356); // into the picture, then into the disc
    EXPECT_EQ(header.circleY, 356);
}

TEST_F(FrameToolsTest, WithoutAShownFrameNothingChanges)
{
    view.resetView();
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(200, 200));
    wheel(120);
    EXPECT_EQ(header.circleX, 250);
    EXPECT_EQ(header.pipeRadius, 400);
    EXPECT_EQ(edits, 0);
}
