#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "core/display/Palette.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/ProgressWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

using namespace dorvane;
using namespace dorvane::test;

namespace {

FrameHeader storedHeader(const std::vector<uint8_t> &file, int frame)
{
    std::array<uint8_t, FrameHeader::Size> bytes;
    std::copy_n(file.begin() + static_cast<ptrdiff_t>(frameOffset(frame)), bytes.size(),
                bytes.begin());
    return FrameHeader::decode(bytes);
}

class EditingTest : public MainWindowTest
{
protected:
    void openSurvey(int frames)
    {
        path = survey(frames, 5);
        open(path);
        QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    }

    std::string path;
};

} // namespace

TEST_F(EditingTest, PanelEditsReachTheHeaderAndMarkTheSurveyModified)
{
    openSurvey(5);
    goTo(2);
    auto *title = child<QLineEdit>("titleEdit");
    QTest::keyClicks(title, "Crack at joint");
    EXPECT_EQ(doc().current().header.titleText(), "Crack at joint");
    EXPECT_TRUE(doc().isModified());
    EXPECT_FALSE(child("saveButton")->isHidden());
    EXPECT_TRUE(window->slider().isEnabled()); // moving it asks the save question

    child<QPlainTextEdit>("notesEdit")->setPlainText("line one\nline two");
    EXPECT_EQ(doc().current().header.notesText(), "line one\r\nline two");
    child<QCheckBox>("defectBox")->click();
    child<QCheckBox>("excludeBox")->click();
    EXPECT_EQ(doc().current().header.defectFrame, 1);
    EXPECT_EQ(doc().current().header.excludeSediment, 1);
    child<QSlider>("errorRateSlider")->setValue(33);
    EXPECT_EQ(doc().current().header.errorRate, 33);
    EXPECT_EQ(child<QSpinBox>("errorRateValue")->value(), 33);
    // The pipe radius can be typed, within its range; Enter takes it.
    auto *radius = child<QSpinBox>("pipeRadiusValue");
    radius->selectAll();
    QTest::keyClicks(radius, "450");
    EXPECT_NE(doc().current().header.pipeRadius, 450); // not at every key
    QTest::keyClick(radius, Qt::Key_Return);
    EXPECT_EQ(doc().current().header.pipeRadius, 450);
    EXPECT_EQ(child<QSlider>("pipeRadiusSlider")->value(), 450);
    radius->selectAll();
    QTest::keyClicks(radius, "99999"); // beyond the detection radius: refused
    QTest::keyClick(radius, Qt::Key_Return);
    EXPECT_LE(doc().current().header.pipeRadius, doc().current().header.detectRadius);
    // Titles stop at 27 characters typed.
    QTest::keyClicks(title, QString(40, 'x'));
    EXPECT_EQ(title->text().size(), 27);
}

TEST_F(EditingTest, SavingChangesOnlyTheHeadersOnDisk)
{
    openSurvey(5);
    const auto before = readFileBytes(path);
    goTo(3);
    QTest::keyClicks(child<QLineEdit>("titleEdit"), "T1");
    child<QCheckBox>("reportBox")->click();
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(child("saveButton")->isHidden());
    EXPECT_FALSE(window->slider().isHidden());

    const auto after = readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const bool inHeader = i >= frameOffset(3) && i < frameOffset(3) + FrameHeader::Size;
        if (!inHeader) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
    const FrameHeader h = storedHeader(after, 3);
    EXPECT_EQ(h.titleText(), "T1");
    EXPECT_EQ(h.reportShot, 1);
    EXPECT_EQ(doc().derived().reportFlags()[3], 1);
}

TEST_F(EditingTest, DiscardBringsBackTheStoredHeaderAndPipeAttributes)
{
    openSurvey(4);
    goTo(1);
    QTest::keyClicks(child<QLineEdit>("titleEdit"), "gone");
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>("startWellEdit"), "W9");
    QTest::mouseClick(child<QToolButton>("discardButton"), Qt::LeftButton);
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(doc().current().header.titleText(), "");
    EXPECT_EQ(child<QLineEdit>("titleEdit")->text(), "");
    // The simulated survey runs from manhole Y12 to Y13.
    EXPECT_EQ(doc().fileHeader().startWell(), "Y12");
    EXPECT_EQ(child<QLineEdit>("startWellEdit")->text(), "Y12");
    EXPECT_FALSE(window->slider().isHidden());

    // A later save of another edit writes no discarded text.
    QTest::keyClicks(child<QLineEdit>("endWellEdit"), "E1");
    QTest::keyClick(child<QLineEdit>("endWellEdit"), Qt::Key_S, Qt::ControlModifier);
    const auto file = readFileBytes(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&file[72]), 4), std::string("Y12\0", 4));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&file[80]), 6), std::string("Y13E1\0", 6));
    EXPECT_EQ(storedHeader(file, 1).titleText(), "");
}

TEST_F(EditingTest, CircleDraggedOnTheViewIsAnEdit)
{
    openSurvey(3);
    child<QCheckBox>("circleBox")->click();
    EXPECT_FALSE(child("applyCircleAfterButton")->isHidden());
    FrameView &view = window->frameView();
    dragOn(view, Qt::LeftButton, QPoint(250, 250), QPoint(270, 240));
    EXPECT_EQ(doc().current().header.circleX, 270);
    EXPECT_EQ(doc().current().header.circleY, 240);
    EXPECT_TRUE(doc().isModified());
}

TEST_F(EditingTest, RulerLengthFollowsTheMouse)
{
    openSurvey(3);
    child<QCheckBox>("rulerBox")->click();
    FrameView &view = window->frameView();
    dragOn(view, Qt::RightButton, QPoint(250, 250), QPoint(480, 250));
    EXPECT_EQ(child<QLineEdit>("rulerLengthEdit")->text(), "920"); // 230 px at 4 mm
}

TEST_F(EditingTest, CircleAppliedToPreviousAndFollowingFrames)
{
    for (const char *button : {"applyCircleBeforeButton", "applyCircleAfterButton"}) {
        const bool before = std::string(button).find("Before") != std::string::npos;
        openSurvey(12);
        goTo(4);
        child<QCheckBox>("circleBox")->click();
        session().editFrame([](FrameHeader &h) {
            h.circleX = 262;
            h.circleY = 244;
        });
        child<QSlider>("pipeRadiusSlider")->setValue(480);
        prompts.answers = {MessageSink::Answer::Ok};
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
        EXPECT_EQ(prompts.questions.back(), before ? 203 : 204);
        EXPECT_FALSE(doc().isModified());
        EXPECT_EQ(doc().currentIndex(), 4);
        EXPECT_TRUE(window->isEnabled());

        const auto file = readFileBytes(path);
        for (int i = 0; i < 12; ++i) {
            const FrameHeader h = storedHeader(file, i);
            const bool inRange = before ? i <= 4 : i >= 4;
            EXPECT_EQ(h.circleOn, inRange ? 1 : 0) << button << " frame " << i;
            EXPECT_EQ(h.circleX, inRange ? 262 : 250) << button << " frame " << i;
            EXPECT_EQ(h.circleY, inRange ? 244 : 250) << button << " frame " << i;
            EXPECT_EQ(h.pipeRadius, inRange ? 480 : 600) << button << " frame " << i;
        }
    }
}

TEST_F(EditingTest, CancelledApplyChangesNothing)
{
    openSurvey(4);
    const auto before = readFileBytes(path);
    QTest::mouseClick(child<QToolButton>("applyErrorRateButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, std::vector<int>{200});
    EXPECT_EQ(readFileBytes(path), before);
}

TEST_F(EditingTest, DeletingFramesGoesToTheNextOne)
{
    for (const int victim : {0, 3, 6}) {
        openSurvey(7);
        const auto before = readFileBytes(path);
        goTo(victim);
        prompts.answers = {MessageSink::Answer::Ok};
        QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);
        EXPECT_EQ(prompts.questions.back(), 358);
        ASSERT_EQ(doc().frameCount(), 6);
        EXPECT_EQ(doc().currentIndex(), std::min(victim, 5));
        EXPECT_EQ(window->slider().maximum(), 6);
        EXPECT_EQ(window->slider().value(), std::min(victim, 5) + 1);
        const auto after = readFileBytes(path);
        ASSERT_EQ(after.size(), before.size() - FrameRecord::Size);
        // The frame after the deleted one now stands in its place.
        if (victim < 6) {
            EXPECT_TRUE(
                std::equal(after.begin() + static_cast<ptrdiff_t>(frameOffset(victim)),
                           after.begin() + static_cast<ptrdiff_t>(frameOffset(victim + 1)),
                           before.begin() + static_cast<ptrdiff_t>(frameOffset(victim + 1))));
        }
    }
}

TEST_F(EditingTest, SaveAsWritesACopyAndStaysOnTheSurvey)
{
    openSurvey(6);
    session().editPipeAttributes([](AnimationFileHeader &h) { h.setPlace("Copy St"); });
    prompts.answers = {MessageSink::Answer::Yes}; // save the pending edit first
    prompts.nextSaveFile = QString::fromStdString(dir.file("copy.Imv"));
    QTest::mouseClick(child<QToolButton>("saveAsButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_EQ(readFileBytes(dir.file("copy.Imv")), readFileBytes(path));
    EXPECT_EQ(doc().path(), path);
    EXPECT_EQ(session().progressWindow().text(), QString::fromUtf8("正在保存数据..."));

    prompts.nextSaveFile = QString::fromStdString(path); // onto itself
    QTest::mouseClick(child<QToolButton>("saveAsButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::CannotSaveOverOpenFile});
    EXPECT_EQ(doc().frameCount(), 6);
}

TEST_F(EditingTest, ThresholdSlidersNeverCross)
{
    open(survey(2));
    GraphicsPanel &graphics = window->toolPanel().graphicsPanel();
    auto *low = child<QSlider>("minLevelSlider");
    auto *high = child<QSlider>("maxLevelSlider");
    high->setFocus();
    high->setValue(150);
    low->setFocus();
    low->setValue(200);
    EXPECT_EQ(high->value(), 201);
    high->setFocus();
    high->setValue(120);
    EXPECT_EQ(low->value(), 119);
    EXPECT_EQ(graphics.minLevel(), 119);
    EXPECT_EQ(window->frameView().image().palette(), buildPalette(119, 120, 256, false));
    EXPECT_EQ(graphics.preview().image().palette(), buildPalette(119, 120, 256, false));
}

TEST_F(EditingTest, RestoreDefaultsAndGreyShapeTheMainPalette)
{
    open(survey(3));
    child<QSlider>("colourCountSlider")->setValue(32);
    child<QToolButton>("restoreButton")->click();
    EXPECT_EQ(window->frameView().image().palette(), colourTable());
    child<QToolButton>("greyButton")->click();
    EXPECT_EQ(window->frameView().image().palette(), greyRamp());
    // Another frame keeps the grey picture, and the switch shows it.
    goTo(1);
    EXPECT_TRUE(child<QToolButton>("greyButton")->isChecked());
    EXPECT_EQ(window->frameView().image().palette(), greyRamp());
    child<QToolButton>("greyButton")->click();
    EXPECT_EQ(window->frameView().image().palette(), colourTable());
}

TEST_F(EditingTest, GridSwitchNeedsAShownFrame)
{
    auto *grid = child<QToolButton>("gridButton");
    grid->click(); // nothing shown yet
    EXPECT_FALSE(grid->isChecked());
    open(survey(2));
    grid->click();
    EXPECT_TRUE(window->frameView().overlay().showGrid);
    EXPECT_TRUE(grid->isChecked());
    grid->click();
    EXPECT_FALSE(window->frameView().overlay().showGrid);
}

TEST_F(EditingTest, PlaybackMakesThePanelReadOnly)
{
    openSurvey(30);
    session().play(SurveySession::Direction::Forwards);
    auto &panel = window->toolPanel().propertyPanel();
    EXPECT_TRUE(panel.isReadOnly());
    EXPECT_FALSE(child("deleteFrameButton")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("titleEdit")->isReadOnly());
    session().pause();
    EXPECT_FALSE(panel.isReadOnly());
    EXPECT_TRUE(child("deleteFrameButton")->isEnabled());
}

TEST_F(EditingTest, SliderRangesFollowTheShownFrame)
{
    path = survey(3, 5);
    {
        AnimationFile file;
        ASSERT_TRUE(file.open(path));
        FrameHeader h;
        ASSERT_TRUE(file.readFrameHeader(2, h));
        h.detectRadius = 600;
        h.pipeRadius = 480;
        SilentMessageSink silent;
        ASSERT_TRUE(file.writeFrameHeader(2, h, silent));
    }
    open(path);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    auto *radius = child<QSlider>("pipeRadiusSlider");
    auto *rate = child<QSlider>("errorRateSlider");
    EXPECT_EQ(radius->minimum(), 50);
    EXPECT_EQ(radius->maximum(), 1000);
    EXPECT_EQ(radius->value(), 600);
    EXPECT_EQ(rate->minimum(), 1);
    EXPECT_EQ(rate->maximum(), 50);
    EXPECT_EQ(rate->value(), 10);
    goTo(2);
    EXPECT_EQ(radius->minimum(), 50);
    EXPECT_EQ(radius->maximum(), 600);
    EXPECT_EQ(radius->value(), 480);
    // The ends of the ranges are what an edit can reach.
    radius->setValue(700);
    EXPECT_EQ(doc().current().header.pipeRadius, 600);
    rate->setValue(0);
    EXPECT_EQ(doc().current().header.errorRate, 1);
}
