#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "ui/app/ExportCommands.h"
#include "ui/display/FrameView.h"
#include "ui/widgets/ProgressWindow.h"

#include <QTest>
#include <filesystem>
#include <set>
#include <unistd.h>

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
    EXPECT_EQ(window->statusText(), "已保存到 " + QString::fromStdString(framePath));

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
    EXPECT_TRUE(window->statusText().isEmpty()); // nothing was saved

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

TEST_F(ExportTest, NoExportTakesThePlaceOfTheOpenSurvey)
{
    const std::string path = survey(3);
    const auto before = readFileBytes(path);
    std::filesystem::create_symlink(path, dir.file("link.Imv"));
    ASSERT_EQ(::link(path.c_str(), dir.file("hard.Imv").c_str()), 0);
    open(path);
    const std::string otherSpelling =
        (std::filesystem::path(path).parent_path() / "." / std::filesystem::path(path).filename())
            .string();
    for (const std::string &name :
         {path, otherSpelling, dir.file("link.Imv"), dir.file("hard.Imv")}) {
        prompts.messages.clear();
        prompts.nextSaveFile = QString::fromStdString(name);
        clickScreenshot();
        prompts.nextSaveFile = QString::fromStdString(name);
        QTest::mouseClick(child<QToolButton>("videoButton"), Qt::LeftButton);
        EXPECT_EQ(prompts.messages,
                  (std::vector<int>{text::CannotSaveOverOpenFile, text::CannotSaveOverOpenFile}))
            << name;
        // Refused before the texts question of the movie.
        EXPECT_TRUE(prompts.questions.empty());
        EXPECT_EQ(readFileBytes(path), before) << name;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.Imv")));
    }
    EXPECT_TRUE(session().isOpen());
}

TEST_F(ExportTest, NothingIsSavedWithoutASurvey)
{
    ExportCommands exports(*window, session());
    EXPECT_FALSE(exports.saveViewImage(QString::fromStdString(dir.file("none.bmp"))));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.bmp")));
}

} // namespace

namespace {

// What ffprobe says of a movie's video stream: "tag,width,height,frames".
std::string probeMovie(const std::string &path)
{
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 "
                                "-show_entries stream=width,height,codec_tag_string,"
                                "nb_read_frames -of csv=p=0 '" +
                                path + "' 2>/dev/null";
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

TEST_F(ExportTest, TheVideoHoldsEveryFrameAndTheWindowComesBackToTheFrameShownBefore)
{
    open(survey(6));
    goTo(3);
    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
    const std::string path = dir.file("survey.avi");
    prompts.nextSaveFile = QString::fromStdString(path);
    prompts.answers = {MessageSink::Answer::Yes};
    int barWhenShownBack = -1;
    QObject::connect(&session(), &SurveySession::frameShown, window.get(), [&](int index) {
        if (index == 3)
            barWhenShownBack = session().progressWindow().barValue();
    });
    QTest::mouseClick(child<QToolButton>("videoButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::AskVideoTexts});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(probeMovie(path), "XVID,500,500,6");
    EXPECT_EQ(session().currentIndex(), 3);
    EXPECT_EQ(window->visibleView(), MainWindow::View::Frame);
    // The walk was complete only once frame 3 was back on screen.
    EXPECT_LT(barWhenShownBack, ProgressWindow::BarMaximum);
    EXPECT_EQ(window->frameView().overlay().frameIndex, 3);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ExportTest, AMovieThatCannotBeWrittenIsToldWithTheWritersText)
{
    open(survey(3));
    goTo(1);
    const std::string path = dir.file("missing/survey.avi");
    prompts.nextSaveFile = QString::fromStdString(path);
    prompts.answers = {MessageSink::Answer::No};
    QTest::mouseClick(child<QToolButton>("videoButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::AviError});
    EXPECT_EQ(prompts.details, QStringList{"Unable to Create the Movie File"});
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(session().currentIndex(), 1);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ExportTest, AFullDiskStopsTheVideoAndIsToldOnce)
{
    open(survey(12));
    goTo(5);
    const std::string path = dir.file("survey.avi");
    prompts.nextSaveFile = QString::fromStdString(path);
    prompts.answers = {MessageSink::Answer::No};
    std::set<int> shown;
    QObject::connect(&session(), &SurveySession::frameShown, window.get(),
                     [&](int index) { shown.insert(index); });
    const auto namesBefore = namesIn(dir.path());
    {
        // Each frame codes to tens of KiB: the disk is full by the second.
        const FullDisk full(64 * 1024);
        QTest::mouseClick(child<QToolButton>("videoButton"), Qt::LeftButton);
    }
    EXPECT_EQ(prompts.messages, std::vector<int>{text::AviError});
    EXPECT_EQ(prompts.details,
              QStringList{"Unable to Write Video Stream to the output Movie File"});
    EXPECT_EQ(namesIn(dir.path()), namesBefore); // no movie, whole or in part
    // The drawing stopped soon after the encoding.
    EXPECT_LT(shown.size(), 12u);
    EXPECT_EQ(session().currentIndex(), 5);
    EXPECT_TRUE(window->isEnabled());
}

} // namespace
