#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "ui/app/ExportCommands.h"

#include <QTest>
#include <filesystem>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class ExportTest : public MainWindowTest
{
protected:
    void clickScreenshot()
    {
        QTest::mouseClick(child<QToolButton>("screenshotButton"), Qt::LeftButton);
    }
};

TEST_F(ExportTest, TheScreenshotSavesTheVisibleViewAsA24BitBitmap)
{
    EXPECT_FALSE(child<QToolButton>("screenshotButton")->isEnabled());
    open(survey(4));
    goTo(2);
    ASSERT_TRUE(child<QToolButton>("screenshotButton")->isEnabled());

    const std::string framePath = dir.file("frame.bmp");
    prompts.nextSaveFile = QString::fromStdString(framePath);
    clickScreenshot();
    EXPECT_TRUE(prompts.messages.empty());
    const auto frame = readFileBytes(framePath);
    ASSERT_EQ(frame.size(), 54u + 1500u * 500u); // 500 rows of 1,500 bytes
    EXPECT_EQ(le::readU16(&frame[28]), 24);
    EXPECT_EQ(le::readI32(&frame[18]), 500);

    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
    ASSERT_EQ(window->visibleView(), MainWindow::View::Stroke);
    const std::string strokePath = dir.file("stroke.bmp");
    prompts.nextSaveFile = QString::fromStdString(strokePath);
    clickScreenshot();
    const auto stroke = readFileBytes(strokePath);
    ASSERT_EQ(stroke.size(), frame.size());
    EXPECT_NE(stroke, frame); // another view, another picture
    EXPECT_EQ(session().currentIndex(), 2);
}

TEST_F(ExportTest, AScreenshotThatCannotBeWrittenSaysSoAndLeavesNothing)
{
    open(survey(3));
    const std::string path = dir.file("missing/frame.bmp");
    prompts.nextSaveFile = QString::fromStdString(path);
    clickScreenshot();
    EXPECT_EQ(prompts.messages, std::vector<int>{text::SaveBmpFailed});
    EXPECT_FALSE(std::filesystem::exists(path));

    // Cancelling the file dialog does nothing.
    prompts.messages.clear();
    clickScreenshot();
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExportTest, PendingEditsAreSavedOrKeptBeforeTheScreenshot)
{
    open(survey(3));
    editTitle("marked");
    const std::string path = dir.file("frame.bmp");
    prompts.nextSaveFile = QString::fromStdString(path);
    prompts.answers = {MessageSink::Answer::Cancel};
    clickScreenshot();
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_FALSE(std::filesystem::exists(path)); // cancelled: no dialog, no file
    EXPECT_TRUE(session().isModified());

    prompts.answers = {MessageSink::Answer::Yes};
    clickScreenshot();
    EXPECT_FALSE(session().isModified());
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(ExportTest, NothingIsSavedWithoutASurvey)
{
    ExportCommands exports(*window, session());
    EXPECT_FALSE(exports.saveViewImage(QString::fromStdString(dir.file("none.bmp"))));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.bmp")));
}

} // namespace
