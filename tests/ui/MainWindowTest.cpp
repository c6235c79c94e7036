#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "render/FrameOverlay.h"
#include "support/WithoutOpenGl.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/PipeAttributesPanel.h"
#include "ui/display/DefectStrip.h"
#include "ui/display/FrameView.h"
#include "ui/display/PreviewPopup.h"
#include "ui/view3d/PipeView.h"
#include "ui/widgets/ProgressWindow.h"

#include <QDropEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <filesystem>
#include <fstream>

using namespace dorvane;
using namespace dorvane::test;

namespace {

void corruptFrame(const std::string &path, int frame)
{
    auto bytes = readFileBytes(path);
    le::writeU16(&bytes[frameOffset(frame)], 0);
    // Written in place: the open document keeps reading the same file.
    PosixFile file;
    ASSERT_TRUE(file.open(path, PosixFile::Mode::ReadWrite));
    ASSERT_TRUE(file.writeAt(frameOffset(frame), &bytes[frameOffset(frame)], 2));
}

void setDefects(const std::string &path, std::initializer_list<int> frames)
{
    AnimationFile file;
    ASSERT_TRUE(file.open(path));
    SilentMessageSink silent;
    for (int i : frames) {
        FrameHeader h;
        ASSERT_TRUE(file.readFrameHeader(i, h));
        h.defectFrame = 1;
        ASSERT_TRUE(file.writeFrameHeader(i, h, silent));
    }
}

} // namespace

namespace dorvane::test {

// A file dropped on the window, delivered to its native window as the
// window system does.
void MainWindowTest::dropFile(const std::string &path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QWindow *native = window->windowHandle();
    ASSERT_NE(native, nullptr);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(native, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(native, &drop);
}

} // namespace dorvane::test

TEST_F(MainWindowTest, StartsWithNothingOpen)
{
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("管道声纳检测系统"));
    EXPECT_FALSE(window->slider().isEnabled());
    EXPECT_FALSE(window->frameView().image().isValid());
    EXPECT_FALSE(child("graphicsPanel")->isEnabled());
    EXPECT_TRUE(child("settingsPanel")->isEnabled());
    EXPECT_TRUE(child("saveButton")->isHidden());
    EXPECT_TRUE(child<QToolButton>("acquireButton")->isEnabled());
    EXPECT_FALSE(child<QToolButton>("reportButton")->isEnabled());
    EXPECT_FALSE(session().goToFrame(3)); // nothing open: nothing to go to
}

TEST_F(MainWindowTest, OpeningShowsTheFirstFrame)
{
    const std::string path = survey(12);
    prompts.nextOpenFile = QString::fromStdString(path);
    QTest::mouseClick(child<QToolButton>("openButton"), Qt::LeftButton);
    ASSERT_TRUE(doc().isOpen());
    // The dialog speaks the program's language and offers probe images too.
    EXPECT_EQ(prompts.lastOpenDialog.title, "打开动画文件");
    EXPECT_TRUE(prompts.lastOpenDialog.filter.startsWith("动画文件和探头图像 (*.Imv *.img);;"));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(window->slider().minimum(), 1);
    EXPECT_EQ(window->slider().maximum(), 12);
    EXPECT_EQ(window->slider().value(), 1);
    EXPECT_EQ(window->slider().pageStep(), 10);
    EXPECT_TRUE(window->slider().isEnabled());
    EXPECT_EQ(doc().currentIndex(), 0);
    EXPECT_TRUE(window->frameView().image().isValid());
    const FrameOverlay &overlay = window->frameView().overlay();
    ASSERT_NE(overlay.header, nullptr);
    EXPECT_EQ(overlay.header->encoded(), doc().current().header.encoded());
    EXPECT_EQ(overlay.frameIndex, 0);
    EXPECT_EQ(overlay.frameCount, 12);
    EXPECT_TRUE(child("graphicsPanel")->isEnabled());
    EXPECT_TRUE(child("pipeAttributesPanel")->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(session().progressWindow().isHidden());
    EXPECT_TRUE(child("saveAsButton")->isEnabled());

    // A probe image has no survey file that save-as could copy.
    const std::string img = dir.file("probe.img");
    writeFileBytes(img, makeImgFile(1000, 2.0f, 40));
    open(img);
    EXPECT_FALSE(child("saveAsButton")->isEnabled());
}

TEST_F(MainWindowTest, FailedOpenLeavesTheProgramUsable)
{
    open(survey(3));
    EXPECT_FALSE(session().openFile(dir.file("missing.Imv").c_str()));
    EXPECT_EQ(prompts.messages, std::vector<int>{text::OpenFileFailed});
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->slider().isEnabled());
    // The survey that was shown is gone from the views as well.
    EXPECT_FALSE(doc().isOpen());
    EXPECT_FALSE(window->frameView().image().isValid());
    EXPECT_EQ(window->frameView().overlay().header, nullptr);
    open(survey(3));
    EXPECT_EQ(doc().frameCount(), 3);
}

TEST_F(MainWindowTest, GoToFrameMovesTheSliderAndStopsPlayback)
{
    open(survey(12));
    session().play(SurveySession::Direction::Forwards);
    EXPECT_TRUE(session().goToFrame(5));
    EXPECT_FALSE(session().isPlaying());
    EXPECT_EQ(doc().currentIndex(), 5);
    EXPECT_EQ(window->slider().value(), 6);
    EXPECT_EQ(window->slider().maximum(), 12);
    EXPECT_FALSE(session().goToFrame(12));
    EXPECT_EQ(doc().currentIndex(), 5);
}

TEST_F(MainWindowTest, PlaysToTheEndAndBackToTheStart)
{
    open(survey(12));
    EXPECT_EQ(SurveySession::playbackIntervalMs(), 62);
    QTest::mouseClick(child<QToolButton>("playForwardButton"), Qt::LeftButton);
    EXPECT_TRUE(session().isPlaying());
    EXPECT_TRUE(window->frameView().toolsLocked());
    ASSERT_TRUE(waitUntil([&] { return doc().currentIndex() >= 2; }));
    EXPECT_EQ(window->frameView().overlay().fps, 16.0f); // the rate line shows while playing
    ASSERT_TRUE(waitUntil([&] { return !session().isPlaying(); }));
    EXPECT_EQ(doc().currentIndex(), 11);
    EXPECT_EQ(window->slider().value(), 12);
    EXPECT_EQ(window->frameView().overlay().fps, 0.0f);
    EXPECT_FALSE(window->frameView().toolsLocked());

    QTest::mouseClick(child<QToolButton>("playBackwardButton"), Qt::LeftButton);
    EXPECT_EQ(session().direction(), SurveySession::Direction::Backwards);
    ASSERT_TRUE(waitUntil([&] { return !session().isPlaying(); }));
    EXPECT_EQ(doc().currentIndex(), 0);
    EXPECT_EQ(window->slider().value(), 1);
}

TEST_F(MainWindowTest, PauseStopsWherePlaybackIs)
{
    open(survey(40));
    session().play(SurveySession::Direction::Forwards);
    ASSERT_TRUE(waitUntil([&] { return doc().currentIndex() >= 3; }));
    QTest::mouseClick(child<QToolButton>("pauseButton"), Qt::LeftButton);
    EXPECT_FALSE(session().isPlaying());
    const int stopped = doc().currentIndex();
    QTest::qWait(200);
    EXPECT_EQ(doc().currentIndex(), stopped);
}

TEST_F(MainWindowTest, PlaybackRateFollowsTheSettings)
{
    for (const auto &[rate, interval] : {std::pair{1, 1000}, {2, 500}, {6, 166}, {16, 62}}) {
        settings().playRate = rate;
        EXPECT_EQ(SurveySession::playbackIntervalMs(), interval);
    }
}

TEST_F(MainWindowTest, ControlKeysStepOneFrame)
{
    open(survey(5));
    QWidget *focus = &window->frameView();
    QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), 1);
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), 0);
    EXPECT_EQ(window->slider().value(), 1);
    goTo(4);
    QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier); // the last frame again
    EXPECT_EQ(doc().currentIndex(), 4);
    EXPECT_EQ(window->slider().value(), 5);
    QTest::keyClick(focus, Qt::Key_D); // without Ctrl: nothing
    EXPECT_EQ(doc().currentIndex(), 4);

    // Not while playing; with unsaved edits after the save question.
    session().play(SurveySession::Direction::Backwards);
    QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(session().isPlaying());
    session().pause();
    const int at = doc().currentIndex();
    editTitle("pending");
    prompts.answers = {MessageSink::Answer::Cancel};
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(prompts.questions.back(), text::DataChangedSave);
    EXPECT_EQ(doc().currentIndex(), at);
    EXPECT_TRUE(doc().isModified());
    prompts.answers = {MessageSink::Answer::No};
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), at - 1);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(MainWindowTest, ATextFieldKeepsControlAForItselfAndTheViewSteps)
{
    open(survey(5));
    goTo(3);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    auto *title = child<QLineEdit>("titleEdit");
    title->setFocus();
    QTest::keyClicks(title, "Joint");
    prompts.answers = {MessageSink::Answer::Cancel};
    QTest::keyClick(title, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(title->selectedText(), "Joint");
    EXPECT_EQ(doc().currentIndex(), 3);
    EXPECT_TRUE(prompts.questions.empty()); // no save question either
    QTest::keyClick(title, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(doc().isModified());
    QTest::keyClick(title, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), 3); // saved: still the field's key
    QTest::keyClick(&window->frameView(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), 2);
}

TEST_F(MainWindowTest, PipeAttributeEditsKeepPlaybackAndAskBeforeItMoves)
{
    const std::string path = survey(6);
    open(path);
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    auto *place = child<QLineEdit>("placeEdit");
    place->selectAll();
    QTest::keyClicks(place, "Quay 7");
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(doc().fileHeader().place(), "Quay 7");
    EXPECT_TRUE(window->slider().isVisible());
    EXPECT_TRUE(child("playForwardButton")->isEnabled());
    EXPECT_FALSE(child("saveButton")->isHidden());
    EXPECT_FALSE(child("discardButton")->isHidden());
    // Ctrl+A selects the text; it does not step.
    QTest::keyClick(place, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc().currentIndex(), 0);
    // Playing asks first; Cancel keeps the edit and the frame.
    prompts.answers = {MessageSink::Answer::Cancel};
    QTest::mouseClick(child<QToolButton>("playForwardButton"), Qt::LeftButton);
    EXPECT_FALSE(session().isPlaying());
    EXPECT_TRUE(doc().isModified());

    QTest::keyClick(place, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(window->slider().isHidden());
    EXPECT_TRUE(child("saveButton")->isHidden());
    const auto stored = readFileBytes(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&stored[8]), 7),
              std::string("Quay 7\0", 7));
}

TEST_F(MainWindowTest, DefectMarksGoToTheirFrames)
{
    const std::string path = survey(30);
    setDefects(path, {4, 20});
    open(path);
    DefectStrip &strip = window->defectStrip();
    EXPECT_EQ(strip.markAt(strip.markRectOf(20).center()), 20);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.markRectOf(20).center());
    EXPECT_EQ(doc().currentIndex(), 20);
    EXPECT_EQ(window->slider().value(), 21);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.markRectOf(4).center());
    EXPECT_EQ(doc().currentIndex(), 4);
}

TEST_F(MainWindowTest, PreviewReadsTheFileOnlyForANewFrame)
{
    const std::string path = survey(8);
    open(path);
    goTo(1);
    PreviewPopup &popup = window->previewPopup();
    window->previewFrame(QPoint(300, 300), 3);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.shownIndex(), 3);
    EXPECT_TRUE(popup.image().isValid());
    EXPECT_EQ(doc().currentIndex(), 1); // the current frame is left alone

    // Frame 3 cannot be read any more, but resting on it reads nothing.
    corruptFrame(path, 3);
    window->previewFrame(QPoint(310, 300), 3);
    EXPECT_TRUE(popup.isVisible());
    window->previewFrame(QPoint(310, 300), 5);
    EXPECT_EQ(popup.shownIndex(), 5);
    window->previewFrame(QPoint(310, 300), 3); // a new read now, which fails
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(popup.shownIndex(), -1);
    window->hidePreview();
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainWindowTest, UnreadableFrameKeepsThePreviousOneOnScreen)
{
    const std::string path = survey(8);
    open(path);
    goTo(2);
    corruptFrame(path, 6);
    goTo(6);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::ReadFileDataError});
    EXPECT_EQ(doc().currentIndex(), 2);
    EXPECT_EQ(window->frameView().overlay().frameIndex, 2);
}

TEST_F(MainWindowTest, DroppedFileAsksBeforeDroppingEditsAndOpensLikeAnyOther)
{
    const std::string first = survey(4);
    open(first);
    editTitle("pending");
    const std::string other = survey(7, 2);

    prompts.answers = {MessageSink::Answer::Cancel};
    dropFile(other);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_EQ(doc().frameCount(), 4); // cancelled: the edit stays
    EXPECT_TRUE(doc().isModified());

    prompts.answers = {MessageSink::Answer::No};
    dropFile(other);
    EXPECT_EQ(doc().frameCount(), 7);
    EXPECT_FALSE(doc().isModified());
    // The controls of a freshly opened survey.
    EXPECT_FALSE(window->slider().isHidden());
    EXPECT_TRUE(window->slider().isEnabled());
    EXPECT_EQ(window->slider().maximum(), 7);
    EXPECT_FALSE(child("playForwardButton")->isHidden());
    EXPECT_TRUE(child("saveButton")->isHidden());
    EXPECT_TRUE(child("discardButton")->isHidden());
    EXPECT_TRUE(window->isEnabled());
    // "No" dropped the edit: the first survey's file is as it was.
    FrameHeader stored;
    AnimationFile file;
    ASSERT_TRUE(file.open(first, PosixFile::Mode::Read));
    ASSERT_TRUE(file.readFrameHeader(0, stored));
    EXPECT_EQ(stored.titleText(), "");
}

TEST_F(MainWindowTest, ClosingAsksToExitOrToSave)
{
    QTest::keyClick(&window->frameView(), Qt::Key_Escape);
    EXPECT_EQ(prompts.questions, std::vector<int>{102});
    EXPECT_TRUE(window->isVisible()); // cancelled

    open(survey(3));
    editTitle("pending");
    prompts.questions.clear();
    window->reject();
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_TRUE(window->isVisible());

    prompts.questions.clear();
    prompts.answers = {MessageSink::Answer::No}; // discard, then close
    window->reject();
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(window->isVisible());

    window->show();
    prompts.questions.clear();
    prompts.answers = {MessageSink::Answer::Ok};
    window->reject();
    EXPECT_EQ(prompts.questions, std::vector<int>{102});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ViewPagesAskBeforeLeavingUnsavedEdits)
{
    open(survey(3));
    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
    EXPECT_EQ(window->visibleView(), MainWindow::View::Stroke);
    EXPECT_EQ(child<QStackedWidget>("sidePanels")->currentWidget(), child("strokePanel"));

    editTitle("pending");
    QTest::mouseClick(child<QToolButton>("view3dPageButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_EQ(window->visibleView(), MainWindow::View::Stroke); // cancelled
    EXPECT_TRUE(child<QToolButton>("strokePageButton")->isChecked());

    // Tool pages keep the view and need no answer.
    QTest::mouseClick(child<QToolButton>("settingsPageButton"), Qt::LeftButton);
    EXPECT_EQ(window->visibleView(), MainWindow::View::Stroke);
    EXPECT_EQ(child<QStackedWidget>("sidePanels")->currentWidget(), child("settingsPanel"));
    EXPECT_EQ(prompts.questions.size(), 1u);
}

TEST_F(MainWindowTest, WithoutOpenGLThe3dPageSaysSoAndStaysBlack)
{
    if (!takeOpenGlAway())
        GTEST_SKIP() << "OpenGL was set up by an earlier test of this process";
    open(survey(5));
    QTest::mouseClick(child<QToolButton>("view3dPageButton"), Qt::LeftButton);
    EXPECT_EQ(window->visibleView(), MainWindow::View::Pipe);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::View3dInitFailed});
    EXPECT_FALSE(window->pipeView().isReady());
    QImage shown(window->pipeView().size(), QImage::Format_RGB32);
    window->pipeView().render(&shown);
    EXPECT_EQ(shown.pixel(250, 250), qRgb(0, 0, 0));

    // The rest of the window goes on working.
    session().step(SurveySession::Direction::Forwards);
    EXPECT_EQ(session().currentIndex(), 1);
}

TEST_F(MainWindowTest, TheWindowTakesTheInstalledIconOrItsOwn)
{
    // Not installed: the icon drawn by the program itself.
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->windowIcon().name(), "");

    // Installed: the theme's icon, as the package puts it.
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    std::filesystem::create_directories(dir.file("icons/hicolor/32x32/apps"));
    ASSERT_TRUE(
        picture.save(QString::fromStdString(dir.file("icons/hicolor/32x32/apps/tessiq.png"))));
    std::ofstream(dir.file("icons/hicolor/index.theme"))
        << "[Icon Theme]\nName=Hicolor\nDirectories=32x32/apps\n\n"
           "[32x32/apps]\nSize=32\nType=Fixed\n";
    QIcon::setThemeSearchPaths({QString::fromStdString(dir.file("icons"))});
    QIcon::setThemeName("hicolor");
    MainWindow installed(&prompts);
    EXPECT_EQ(installed.windowIcon().name(), "tessiq");
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
}

TEST_F(MainWindowTest, TheAboutBoxNamesTheProgramAndThePackagesVersion)
{
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), "关于 Tessiq");
    auto *version = about.findChild<QLabel *>("programVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QString("Tessiq %1 版").arg(TESSIQ_VERSION));
}

TEST_F(MainWindowTest, AWindowLeftOffTheScreenComesBackOntoIt)
{
    const QRect area = window->screen()->availableGeometry();
    window->move(area.right() + 300, area.bottom() + 300);
    window->keepOnScreen();
    const QRect frame = window->frameGeometry();
    EXPECT_GE(frame.left(), area.left());
    EXPECT_GE(frame.top(), area.top());
    // Its corner is on the screen; all of it where it fits.
    EXPECT_LE(frame.left(), area.right());
    EXPECT_LE(frame.top(), area.bottom());
    if (frame.width() <= area.width()) {
        EXPECT_LE(frame.right(), area.right());
    }
}

TEST_F(MainWindowTest, ASurveyEndingInAPartialFrameOpensWithAWarningLine)
{
    const std::string path = survey(3);
    std::vector<uint8_t> bytes = readFileBytes(path);
    bytes.resize(bytes.size() + 1000, 7);
    writeFileBytes(path, bytes);
    open(path);
    EXPECT_EQ(doc().frameCount(), 3);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(window->statusText(), "文件末尾有一个不完整的帧（1000 字节），未读入");
    open(survey(4)); // a whole one clears it
    EXPECT_TRUE(window->statusText().isEmpty());
}
