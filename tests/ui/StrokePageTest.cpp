#include "MainWindowTestFixture.h"
#include "core/data/AnimationFile.h"
#include "core/display/DeviationMap.h"
#include "ui/display/SedimentChartDialog.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class StrokePageTest : public MainWindowTest
{
protected:
    void openOnStrokePage(int frames)
    {
        open(survey(frames, 4));
        QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
        ASSERT_EQ(window->visibleView(), MainWindow::View::Stroke);
    }
    StrokePanel &panel() { return window->toolPanel().strokePanel(); }
};

} // namespace

TEST_F(StrokePageTest, ShowsTheFramesProfileAgainstItsBand)
{
    openOnStrokePage(20);
    goTo(7);
    StrokeView &view = window->strokeView();
    const DerivedFrames &derived = doc().derived();
    EXPECT_EQ(view.profile().points, derived.peakPixels(7));
    EXPECT_EQ(view.profile().centre, QPoint(250, 250));
    // Pipe 600 mm of 1000 mm with 10 %: 540 and 660 mm, 135 and 165 pixels.
    EXPECT_EQ(view.profile().innerRadius, 135);
    EXPECT_EQ(view.profile().outerRadius, 165);
    const FrameOverlay &overlay = view.overlay();
    EXPECT_TRUE(overlay.bottomLabelMode);
    EXPECT_EQ(overlay.sedimentDepthMm, derived.sedimentDepth()[7]);
    EXPECT_EQ(overlay.averageSediment, doc().averageSediment());
    EXPECT_EQ(overlay.gridColour, QColor(255, 200, 255));
    EXPECT_EQ(panel().legend().range(), 50);
    EXPECT_EQ(panel().map().markedFrame(), 7);
    EXPECT_EQ(panel().map().frameCount(), 20);
}

TEST_F(StrokePageTest, MapClickGoesToTheFrameOfThatRow)
{
    openOnStrokePage(20);
    DeviationMapWidget &map = panel().map();
    QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(50, 0));
    EXPECT_EQ(doc().currentIndex(), 19);
    QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(50, map.height() / 2));
    EXPECT_EQ(doc().currentIndex(), 10);
    EXPECT_EQ(map.markedFrame(), 10);
}

TEST_F(StrokePageTest, CircleToolWorksOnTheStrokeView)
{
    openOnStrokePage(5);
    session().editFrame([](FrameHeader &h) { h.circleOn = 1; });
    StrokeView &view = window->strokeView();
    dragOn(view, Qt::LeftButton, QPoint(250, 250), QPoint(240, 262));
    EXPECT_EQ(doc().current().header.circleX, 240);
    EXPECT_EQ(doc().current().header.circleY, 262);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(view.profile().centre, QPoint(240, 262)); // the band follows
}

TEST_F(StrokePageTest, GridSwitchAndChartDialog)
{
    openOnStrokePage(30);
    auto *grid = child<QToolButton>("strokeGridButton");
    grid->click();
    EXPECT_TRUE(window->strokeView().overlay().showGrid);
    EXPECT_TRUE(grid->isChecked());
    goTo(2); // the grid stays on from frame to frame, and the switch shows it
    EXPECT_TRUE(window->strokeView().overlay().showGrid);
    EXPECT_TRUE(grid->isChecked());
    grid->click();
    EXPECT_FALSE(window->strokeView().overlay().showGrid);
    goTo(3);
    EXPECT_FALSE(grid->isChecked());

    bool shown = false;
    QTimer::singleShot(100, [&] {
        if (auto *dialog = qobject_cast<SedimentChartDialog *>(QApplication::activeModalWidget())) {
            shown = dialog->findChild<QWidget *>("sedimentChart") != nullptr;
            dialog->accept();
        }
    });
    QTest::mouseClick(child<QToolButton>("sedimentCurveButton"), Qt::LeftButton);
    EXPECT_TRUE(shown);
}

TEST_F(StrokePageTest, TheSedimentChartIsScaledByFrameZerosPipeWhateverFrameIsShown)
{
    const std::string path = survey(10, 4);
    {
        AnimationFile file;
        ASSERT_TRUE(file.open(path));
        FrameHeader h;
        ASSERT_TRUE(file.readFrameHeader(6, h));
        h.pipeRadius = 450;
        SilentMessageSink silent;
        ASSERT_TRUE(file.writeFrameHeader(6, h, silent));
    }
    open(path);
    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
    goTo(6);
    ASSERT_EQ(doc().current().header.pipeRadius, 450);
    int radius = -1;
    QTimer::singleShot(100, [&] {
        if (auto *dialog = qobject_cast<SedimentChartDialog *>(QApplication::activeModalWidget())) {
            radius = dialog->chart().pipeRadius();
            dialog->accept();
        }
    });
    QTest::mouseClick(child<QToolButton>("sedimentCurveButton"), Qt::LeftButton);
    EXPECT_EQ(radius, 600); // frame 0's, as the report and the batch tool draw it
}
