// Whole user paths through the real window where an edit or a survey could
// be lost: every route off the frame, long operations, failing saves.

#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "core/data/AnimationFile.h"
#include "support/LockHeldElsewhere.h"
#include "support/ReadOnlyFile.h"
#include "ui/app/RecentSurveys.h"
#include "ui/app/WindowMemory.h"
#include "ui/display/DefectStrip.h"
#include "ui/display/FrameView.h"
#include "ui/display/PreviewPopup.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace dorvane;
using namespace dorvane::test;

namespace {

using Answer = MessageSink::Answer;

FrameHeader headerOnDisk(const std::string &path, int frame)
{
    AnimationFile file;
    FrameHeader header;
    EXPECT_TRUE(file.open(path, PosixFile::Mode::Read));
    EXPECT_TRUE(file.readFrameHeader(frame, header));
    return header;
}

void rewriteHeader(const std::string &path, int frame, const std::function<void(FrameHeader &)> &f)
{
    AnimationFile file;
    ASSERT_TRUE(file.open(path));
    FrameHeader header;
    ASSERT_TRUE(file.readFrameHeader(frame, header));
    f(header);
    SilentMessageSink silent;
    ASSERT_TRUE(file.writeFrameHeader(frame, header, silent));
}

// Types text one character at a time, as a keyboard or an input method
// would; QTest's key clicks know only ASCII.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

std::string textAt(const std::vector<uint8_t> &bytes, size_t offset, size_t size)
{
    return std::string(reinterpret_cast<const char *>(&bytes[offset]), size);
}

class SessionPathsTest : public MainWindowTest
{
protected:
    void openAt(const std::string &file, int frame)
    {
        path = file;
        open(path);
        goTo(frame);
    }

    void clickMapRowOf(int frame)
    {
        DeviationMapWidget &map = window->toolPanel().strokePanel().map();
        // Frame 0 at the bottom row, one row per frame of 20.
        const int y = map.height() - 1 - frame * map.height() / 20 - map.height() / 40;
        QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(50, y));
    }

    bool playbackShown() { return !window->slider().isHidden(); }
    bool saveShown() { return !child("saveButton")->isHidden(); }

    std::string path;
};

} // namespace

TEST_F(SessionPathsTest, NothingStartsWhileAFrameIsBeingDeleted)
{
    openAt(survey(20), 7);
    const std::string other = survey(5, 9);
    const auto otherBefore = readFileBytes(other);
    const auto before = readFileBytes(path);
    prompts.nextOpenFile = QString::fromStdString(other);

    bool ran = false;
    bool enabledDuringCopy = true;
    QString progressText;
    // Fires inside the copy's progress loop, as a click of the operator would.
    const auto duringTheCopy = [&] {
        ran = true;
        enabledDuringCopy = window->isEnabled();
        progressText = session().progressWindow().text();
        QTest::mouseClick(child<QToolButton>("openButton"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>("playForwardButton"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);
        QTest::keyClick(&window->frameView(), Qt::Key_D, Qt::ControlModifier);
        // Even asked directly, the session starts nothing.
        EXPECT_FALSE(session().openFile(QString::fromStdString(other)));
        EXPECT_FALSE(session().deleteCurrentFrame());
        session().play(SurveySession::Direction::Forwards);
        EXPECT_FALSE(session().isPlaying());
        window->reject();
    };
    prompts.onAsk = [&](int question) {
        if (question == text::ConfirmDeleteFrame)
            QTimer::singleShot(0, duringTheCopy);
    };
    prompts.answers = {Answer::Ok, Answer::Ok, Answer::Ok};
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);

    ASSERT_TRUE(ran);
    EXPECT_FALSE(enabledDuringCopy);
    EXPECT_EQ(progressText, QString::fromUtf8("正在修改数据...")); // not "building the 3D model"
    EXPECT_EQ(prompts.questions, std::vector<int>{text::ConfirmDeleteFrame});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(session().isPlaying());
    // The survey lost frame 7 and nothing else; the other file is untouched.
    EXPECT_EQ(doc().path(), path);
    EXPECT_EQ(doc().frameCount(), 19);
    EXPECT_EQ(doc().currentIndex(), 7);
    const auto after = readFileBytes(path);
    ASSERT_EQ(after.size(), before.size() - FrameRecord::Size);
    EXPECT_TRUE(std::equal(after.begin() + static_cast<ptrdiff_t>(frameOffset(7)), after.end(),
                           before.begin() + static_cast<ptrdiff_t>(frameOffset(8))));
    EXPECT_EQ(readFileBytes(other), otherBefore);
}

TEST_F(SessionPathsTest, LeavingAnEditedFrameAsksFirstByEveryRoute)
{
    openAt(survey(20), 4);
    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);

    // Cancel: the frame and the edit stay.
    editTitle("first");
    prompts.answers = {Answer::Cancel};
    clickMapRowOf(10);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_EQ(doc().currentIndex(), 4);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(doc().current().header.titleText(), "first");

    // No: the edit is dropped, "modified" clears, the file never gets it.
    prompts.answers = {Answer::No};
    clickMapRowOf(10);
    EXPECT_EQ(doc().currentIndex(), 10);
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(saveShown());
    EXPECT_EQ(headerOnDisk(path, 4).titleText(), "");
    // A later save of frame 10 writes its own header, not frame 4's edit.
    QTest::keyClick(&window->strokeView(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(headerOnDisk(path, 4).titleText(), "");

    // Yes: saved, then on to the frame.
    editTitle("second");
    prompts.answers = {Answer::Yes};
    clickMapRowOf(15);
    EXPECT_EQ(doc().currentIndex(), 15);
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(headerOnDisk(path, 10).titleText(), "second");

    // The preview's click goes the same way.
    editTitle("third");
    window->previewFrame(QPoint(300, 300), 2);
    prompts.answers = {Answer::Cancel};
    QTest::mouseClick(&window->previewPopup(), Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_EQ(doc().currentIndex(), 15);
    EXPECT_EQ(prompts.questions.size(), 4u);
    EXPECT_TRUE(doc().isModified());
}

TEST_F(SessionPathsTest, FieldsNobodyTouchedAreKeptByteForByte)
{
    const std::string file = survey(3);
    // Texts longer than the typing limits, and bytes that are no GBK text,
    // as an IMG file or another program may leave them.
    rewriteHeader(file, 0, [](FrameHeader &h) {
        h.setTitle(std::string(31, 'T'));
        h.setPipeName(std::string(30, 'P') + "\xff");
        h.setNotes("N\xff");
    });
    {
        auto bytes = readFileBytes(file);
        std::fill_n(bytes.begin() + 8, 64, uint8_t{'L'});
        bytes[8 + 3] = 0xff;
        writeFileBytes(file, bytes);
    }
    const auto before = readFileBytes(file);
    open(file);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>("titleEdit")->text(), QString(31, 'T')); // shown whole
    child<QCheckBox>("defectBox")->click();
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    auto *startWell = child<QLineEdit>("startWellEdit");
    startWell->selectAll();
    QTest::keyClicks(startWell, "S1");
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    ASSERT_FALSE(doc().isModified());

    const auto after = readFileBytes(file);
    EXPECT_EQ(textAt(after, 8, 64), textAt(before, 8, 64)); // the place
    EXPECT_EQ(textAt(after, 72, 3), std::string("S1\0", 3));
    const size_t h0 = frameOffset(0);
    for (size_t i = 0; i < FrameHeader::Size; ++i) {
        if (i == 2) // defectFrame, the one field edited
            EXPECT_EQ(after[h0 + i], 1);
        else
            EXPECT_EQ(after[h0 + i], before[h0 + i]) << "header byte " << i;
    }

    // Typing stops at the limits; an over-long text may still be shortened.
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    auto *title = child<QLineEdit>("titleEdit");
    title->setFocus();
    title->end(false);
    QTest::keyClick(title, Qt::Key_X);
    EXPECT_EQ(title->text(), QString(31, 'T'));
    EXPECT_FALSE(doc().isModified());
    QTest::keyClick(title, Qt::Key_Backspace);
    EXPECT_EQ(doc().current().header.titleText(), std::string(30, 'T'));
}

TEST_F(SessionPathsTest, PipeAttributesStopWhereTheHeaderIsFull)
{
    openAt(survey(2), 0);
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    auto *endWell = child<QLineEdit>("endWellEdit");
    endWell->selectAll();
    QTest::keyClicks(endWell, "123456789");
    EXPECT_EQ(endWell->text(), "12345678");
    EXPECT_EQ(doc().fileHeader().endWell(), "12345678");
    // Two bytes a character in GBK: four fit, the fifth is refused whole.
    auto *startWell = child<QLineEdit>("startWellEdit");
    startWell->selectAll();
    typeText(startWell, QString::fromUtf8("一二三四五"));
    EXPECT_EQ(startWell->text(), QString::fromUtf8("一二三四"));
    EXPECT_EQ(doc().fileHeader().startWell(), "\xd2\xbb\xb6\xfe\xc8\xfd\xcb\xc4");
}

TEST_F(SessionPathsTest, BulkEditAfterPendingEditsLeavesASavedSurvey)
{
    openAt(survey(6), 2);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>("titleEdit"), "J");
    ASSERT_TRUE(saveShown());
    prompts.answers = {Answer::Ok};
    QTest::mouseClick(child<QToolButton>("applyErrorRateButton"), Qt::LeftButton);
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(saveShown());
    EXPECT_FALSE(child("discardButton")->isVisible());
    EXPECT_TRUE(playbackShown());
    EXPECT_TRUE(child("playForwardButton")->isVisible());
    EXPECT_EQ(headerOnDisk(path, 2).titleText(), "J");
    EXPECT_EQ(headerOnDisk(path, 5).errorRate, 10);
}

TEST_F(SessionPathsTest, AnotherProgramsChangeIsToldAndNeverSavedOver)
{
    openAt(survey(6), 2);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    {
        // While another program writes the survey, the window's save waits.
        const LockHeldElsewhere writer(path);
        ASSERT_TRUE(writer.holds());
        child<QSlider>("errorRateSlider")->setValue(30);
        QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
        EXPECT_EQ(prompts.messages, std::vector<int>{text::BeingChangedElsewhere});
        EXPECT_TRUE(doc().isModified());
    }
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_EQ(headerOnDisk(path, 2).errorRate, 30);
    prompts.messages.clear();

    // Another program saves a place of its own.
    {
        SilentMessageSink silent;
        AnimationDocument other(silent);
        ASSERT_TRUE(other.open(path, nullptr));
        other.editFileHeader([](AnimationFileHeader &h) { h.setPlace("B"); });
        ASSERT_TRUE(other.saveCurrent());
    }
    ASSERT_TRUE(waitUntil([&] { return !prompts.messages.empty(); }));
    EXPECT_EQ(prompts.messages, std::vector<int>{text::ChangedElsewhere});

    // The window's headers are those from before that change: saving them
    // would put the old place back.
    child<QSlider>("errorRateSlider")->setValue(31);
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, (std::vector<int>{text::ChangedElsewhere, text::ChangedElsewhere}));
    const auto file = readFileBytes(path);
    EXPECT_EQ(file[8], 'B');
    EXPECT_EQ(file[9], 0);
    EXPECT_EQ(headerOnDisk(path, 2).errorRate, 30);
}

TEST_F(SessionPathsTest, AFailedSaveGoesNowhere)
{
    openAt(survey(20), 3);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    child<QSlider>("errorRateSlider")->setValue(30);
    ASSERT_TRUE(doc().isModified());
    const auto before = readFileBytes(path);
    {
        const FullDisk full(512); // no header can be written

        // A bulk edit whose first save fails stops there.
        prompts.answers = {Answer::Ok};
        QTest::mouseClick(child<QToolButton>("applyPipeRadiusButton"), Qt::LeftButton);
        EXPECT_EQ(prompts.messages, std::vector<int>{text::SaveFileFailed});
        EXPECT_TRUE(doc().isModified());
        EXPECT_EQ(doc().current().header.errorRate, 30);

        // "Yes" whose save fails: no page switch, no frame change, no close.
        prompts.answers = {Answer::Yes};
        QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
        EXPECT_EQ(window->visibleView(), MainWindow::View::Frame);
        EXPECT_TRUE(child<QToolButton>("propertiesPageButton")->isChecked());
        prompts.answers = {Answer::Yes};
        session().goToFrame(9);
        EXPECT_EQ(doc().currentIndex(), 3);
        prompts.answers = {Answer::Yes};
        window->reject();
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(doc().isModified());
        EXPECT_TRUE(saveShown());
        EXPECT_EQ(prompts.messages.size(), 4u);
    }
    EXPECT_EQ(readFileBytes(path), before);
    // Once the disk takes it again, the edit is still there to save.
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_EQ(headerOnDisk(path, 3).errorRate, 30);
}

TEST_F(SessionPathsTest, DeletionReopensAFreshSurveyOrClosesAHeaderOnlyFile)
{
    openAt(survey(5), 4);
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>("placeEdit"), "X");
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    prompts.answers = {Answer::No, Answer::Ok}; // drop the edit, then delete
    QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions,
              (std::vector<int>{text::DataChangedSave, text::ConfirmDeleteFrame}));
    EXPECT_EQ(doc().frameCount(), 4);
    EXPECT_EQ(doc().currentIndex(), 3); // the new last frame
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(saveShown());
    EXPECT_TRUE(playbackShown());
    EXPECT_TRUE(window->slider().isEnabled());
    EXPECT_EQ(window->slider().maximum(), 4);
    EXPECT_EQ(window->slider().value(), 4);

    openAt(survey(1, 3), 0);
    prompts.questions.clear();
    prompts.answers = {Answer::Ok};
    QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::OnlyHeaderLeft});
    EXPECT_FALSE(doc().isOpen());
    EXPECT_EQ(readFileBytes(path).size(), AnimationFileHeader::Size);
    EXPECT_FALSE(window->slider().isEnabled());
    EXPECT_FALSE(child("framePropertyPanel")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("titleEdit")->text(), "");
    EXPECT_EQ(child<QLineEdit>("detectRadiusEdit")->text(), "0");
    EXPECT_FALSE(window->frameView().image().isValid());
}

TEST_F(SessionPathsTest, NothingToStepOrPlayBeforeASurveyIsOpen)
{
    QWidget *view = &window->frameView();
    QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(child<QToolButton>("playForwardButton"), Qt::LeftButton);
    session().play(SurveySession::Direction::Backwards);
    EXPECT_FALSE(session().isPlaying());
    EXPECT_FALSE(window->frameView().image().isValid());
    EXPECT_EQ(window->frameView().overlay().header, nullptr);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SessionPathsTest, AnUnreadableFrameStopsPlaybackWithOneMessage)
{
    const std::string file = survey(12);
    open(file);
    auto bytes = readFileBytes(file);
    le::writeU16(&bytes[frameOffset(5)], 0); // no frame signature
    PosixFile writer;
    ASSERT_TRUE(writer.open(file, PosixFile::Mode::ReadWrite));
    ASSERT_TRUE(writer.writeAt(frameOffset(5), &bytes[frameOffset(5)], 2));

    QTest::mouseClick(child<QToolButton>("playForwardButton"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !session().isPlaying(); }));
    QTest::qWait(250); // no later tick adds a message
    // The write behind the window's back is told as well, once.
    std::sort(prompts.messages.begin(), prompts.messages.end());
    EXPECT_EQ(prompts.messages,
              (std::vector<int>{text::ReadFileDataError, text::ChangedElsewhere}));
    EXPECT_EQ(doc().currentIndex(), 4);
    EXPECT_EQ(window->slider().value(), 5);
    EXPECT_EQ(window->frameView().overlay().fps, 0.0f);
}

TEST_F(SessionPathsTest, OnlyRealEditsMarkTheSurveyAndEditsStopPlayback)
{
    openAt(survey(40), 0);
    // The circle tool is off and the circle sits in the picture: a wheel
    // notch changes nothing.
    QWheelEvent wheel(QPointF(250, 250), window->frameView().mapToGlobal(QPointF(250, 250)),
                      QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(&window->frameView(), &wheel);
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(playbackShown());

    // Typing a place during playback stops it first.
    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    session().play(SurveySession::Direction::Forwards);
    ASSERT_TRUE(waitUntil([&] { return doc().currentIndex() >= 2; }));
    QTest::keyClicks(child<QLineEdit>("placeEdit"), "Q");
    EXPECT_FALSE(session().isPlaying());
    const int stoppedAt = doc().currentIndex();
    QTest::qWait(150);
    EXPECT_EQ(doc().currentIndex(), stoppedAt);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(window->frameView().overlay().fps, 0.0f);
    EXPECT_FALSE(session().isPlaying());

    // So does the help button, like every toolbar button.
    QTest::mouseClick(child<QToolButton>("discardButton"), Qt::LeftButton);
    session().play(SurveySession::Direction::Forwards);
    QTest::mouseClick(child<QToolButton>("helpButton"), Qt::LeftButton);
    EXPECT_FALSE(session().isPlaying());
}

TEST_F(SessionPathsTest, DefectMarksSitOverTheSliderHandleOfTheirFrame)
{
    const std::string file = survey(30);
    for (int frame : {0, 14, 29})
        rewriteHeader(file, frame, [](FrameHeader &h) { h.defectFrame = 1; });
    open(file);
    DefectStrip &strip = window->defectStrip();
    QSlider &slider = window->slider();
    for (int frame : {0, 14, 29}) {
        // A middle click puts the handle's centre where it is clicked.
        const QRect mark = strip.markRectOf(frame);
        const QPoint onSlider =
            slider.mapFrom(window.get(), strip.mapTo(window.get(), mark.center()));
        QTest::mouseClick(&slider, Qt::MiddleButton, {}, QPoint(onSlider.x(), slider.height() / 2));
        EXPECT_EQ(slider.value(), frame + 1) << "frame " << frame;
    }
}

TEST_F(SessionPathsTest, TheWindowKeepsItsLayoutAndShowsThePictureState)
{
    openAt(survey(6), 1);
    const auto geometryOf = [&](const char *name) { return child(name)->geometry(); };
    const QSize size = window->size();
    const QRect view = geometryOf("viewArea");
    const QRect panels = geometryOf("sidePanels");
    const QRect help = geometryOf("helpButton");
    const QRect play = geometryOf("playForwardButton");
    editTitle("moved?");
    ASSERT_TRUE(saveShown());
    QCoreApplication::processEvents();
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(window->size(), size);
        EXPECT_EQ(geometryOf("viewArea"), view);
        EXPECT_EQ(geometryOf("sidePanels"), panels);
        EXPECT_EQ(geometryOf("helpButton"), help);
        EXPECT_EQ(geometryOf("playForwardButton"), play);
        QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    // The grid stays on from frame to frame, and its switch shows it.
    auto *grid = child<QToolButton>("gridButton");
    grid->click();
    goTo(2);
    EXPECT_TRUE(window->frameView().overlay().showGrid);
    EXPECT_TRUE(grid->isChecked());

    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(SessionPathsTest, ExitQuestionDefaultsToOk)
{
    window->reject();
    ASSERT_EQ(prompts.questions, std::vector<int>{text::ConfirmExit});
    EXPECT_EQ(prompts.defaults, std::vector<Answer>{Answer::Ok});
    // Questions that guard what cannot be undone default to Cancel.
    openAt(survey(3), 1);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("deleteFrameButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.defaults.back(), Answer::Cancel);
}

TEST_F(SessionPathsTest, SettingsTakeEffectButTheLanguageWaitsForARestart)
{
    openAt(survey(3), 1);
    QTest::mouseClick(child<QToolButton>("settingsPageButton"), Qt::LeftButton);
    EXPECT_FALSE(window->frameView().overlay().showTitle);
    child<QCheckBox>("showTitleBox")->click();
    EXPECT_TRUE(window->frameView().overlay().showTitle);
    EXPECT_FALSE(window->frameView().overlay().showNotes);

    auto *language = child<QComboBox>("languageList");
    language->setCurrentIndex(1);
    emit language->activated(1);
    EXPECT_EQ(settings().language, 1);
    // Texts stay in the language the program started with.
    EXPECT_EQ(uiText(text::ProgramTitle), QString::fromUtf8("管道声纳检测系统"));
    EXPECT_EQ(uiText(text::ReadFileDataError), QString::fromUtf8("读取文件数据出错"));
}

TEST_F(SessionPathsTest, AReadOnlySurveyIsShownWithItsEditControlsDisabled)
{
    const std::string file = survey(8);
    const auto before = readFileBytes(file);
    const ReadOnlyFile readOnly(file);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "this file system lets the process write any file";
    open(file);
    EXPECT_TRUE(prompts.messages.empty());
    goTo(3);
    EXPECT_EQ(doc().currentIndex(), 3);
    QTest::mouseClick(child<QToolButton>("propertiesPageButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>("titleEdit")->isReadOnly());
    EXPECT_FALSE(child("deleteFrameButton")->isEnabled());
    EXPECT_FALSE(child("applyErrorRateButton")->isEnabled());
    EXPECT_FALSE(child("defectBox")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("placeEdit")->isReadOnly());
    EXPECT_TRUE(window->frameView().toolsLocked());
    EXPECT_TRUE(child("saveAsButton")->isEnabled());
    dragOn(window->frameView(), Qt::RightButton, QPoint(250, 250), QPoint(300, 250));
    QTest::keyClicks(child<QLineEdit>("titleEdit"), "x");
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(playbackShown());

    // It can be copied to a place where it can be edited.
    prompts.nextSaveFile = QString::fromStdString(dir.file("copy.Imv"));
    QTest::mouseClick(child<QToolButton>("saveAsButton"), Qt::LeftButton);
    EXPECT_EQ(readFileBytes(dir.file("copy.Imv")), before);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SessionPathsTest, TheTitleNamesTheSurveyAndMarksUnsavedEdits)
{
    const QString program = uiText(text::ProgramTitle);
    EXPECT_EQ(window->windowTitle(), program);
    openAt(survey(6), 1);
    EXPECT_EQ(window->windowTitle(), "survey6.Imv[*] - " + program);
    EXPECT_FALSE(window->isWindowModified());

    QTest::mouseClick(child<QToolButton>("pipeAttributesPageButton"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>("placeEdit"), "Q");
    EXPECT_TRUE(window->isWindowModified());
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isWindowModified());

    QTest::keyClicks(child<QLineEdit>("placeEdit"), "R");
    EXPECT_TRUE(window->isWindowModified());
    QTest::mouseClick(child<QToolButton>("discardButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(SessionPathsTest, ButtonTipsNameTheirKeysAndTheirWholeTexts)
{
    // What the keys do is tested with the window's shortcuts.
    EXPECT_EQ(child<QToolButton>("playBackwardButton")->toolTip(),
              uiText(text::PlayBackwardsTip) + "\nCtrl+A：后退一帧");
    EXPECT_EQ(child<QToolButton>("playForwardButton")->toolTip(),
              uiText(text::PlayForwardsTip) + "\nCtrl+D：前进一帧");
    EXPECT_EQ(child<QToolButton>("saveButton")->toolTip(), QString::fromUtf8("保存修改(Ctrl+S)"));

    // Every other toolbar button shows its whole text as its tip.
    int withText = 0;
    for (const QToolButton *button : window->toolPanel().findChildren<QToolButton *>()) {
        if (button->text().isEmpty() || button->objectName() == "saveButton")
            continue;
        // A long text sits on two lines under the icon, its tip on one.
        EXPECT_EQ(button->toolTip(), button->text().simplified())
            << button->objectName().toStdString();
        ++withText;
    }
    EXPECT_GE(withText, 10);
}

namespace {

// Takes the URLs the program hands to the desktop, as a browser would.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

} // namespace

TEST_F(SessionPathsTest, TheHelpButtonOpensTheManualOrSaysWhyNot)
{
    UrlCatcher browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    QTest::mouseClick(child<QToolButton>("helpButton"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(browser.urls.size(), 1);
    // The manual in the program's language (Chinese in these tests), there
    // beside the program.
    const QString manual = browser.urls.front().toLocalFile();
    EXPECT_TRUE(manual.endsWith("/help/zh/index.html")) << manual.toStdString();
    EXPECT_TRUE(QFileInfo::exists(manual)) << manual.toStdString();
    EXPECT_EQ(prompts.messages, std::vector<int>{});

    // Off screen there is no desktop to start a browser.
    QTest::mouseClick(child<QToolButton>("helpButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::HelpNotOpened});
}

#include "SessionPathsTest.moc"

TEST_F(SessionPathsTest, TheOpenButtonsMenuReopensTheSurveysOpenedLast)
{
    QSettings().remove("recentSurveys");
    const std::string first = survey(3);
    const std::string second = survey(5);
    const std::string gone = survey(4);
    auto *menu = child<QMenu>("recentSurveysMenu");
    const auto entries = [menu] {
        emit menu->aboutToShow();
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(entries(), QStringList{uiText(text::NoRecentSurveys)});

    for (const std::string &path : {gone, first, second, first})
        ASSERT_TRUE(session().openFile(QString::fromStdString(path)));
    EXPECT_EQ(entries(), (QStringList{"survey3.Imv", "survey5.Imv", "survey4.Imv"}));
    // Kept for the next run.
    EXPECT_EQ(RecentSurveys().files(),
              (QStringList{QString::fromStdString(first), QString::fromStdString(second),
                           QString::fromStdString(gone)}));

    entries();
    menu->actions().at(1)->trigger();
    EXPECT_EQ(doc().frameCount(), 5);
    EXPECT_EQ(entries(), (QStringList{"survey5.Imv", "survey3.Imv", "survey4.Imv"}));

    // A survey deleted since is told as a failed open and leaves the list.
    std::filesystem::remove(gone);
    prompts.messages.clear();
    entries();
    menu->actions().at(2)->trigger();
    EXPECT_EQ(prompts.messages, std::vector<int>{text::OpenFileFailed});
    EXPECT_EQ(entries(), (QStringList{"survey5.Imv", "survey3.Imv"}));
}

TEST_F(SessionPathsTest, ClosingRemembersWhereTheWindowStoodAndItsView)
{
    QSettings().remove("window");
    EXPECT_EQ(WindowMemory::view(), std::nullopt);
    openAt(survey(4), 0);
    QTest::mouseClick(child<QToolButton>("strokePageButton"), Qt::LeftButton);
    window->move(123, 45);
    const QPoint stood = window->pos();

    // A cancelled close remembers nothing.
    prompts.answers = {MessageSink::Answer::Cancel};
    window->reject();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(WindowMemory::view(), std::nullopt);

    prompts.answers = {MessageSink::Answer::Ok};
    window->reject();
    ASSERT_FALSE(window->isVisible());
    EXPECT_EQ(WindowMemory::view(), ToolPanel::Page::Stroke);
    MainWindow next(&prompts);
    WindowMemory::restoreGeometry(next);
    next.show();
    EXPECT_EQ(next.pos(), stood);

    // Side pages are not views: the view behind them is kept.
    window->show();
    QTest::mouseClick(child<QToolButton>("settingsPageButton"), Qt::LeftButton);
    window->reject();
    EXPECT_EQ(WindowMemory::view(), ToolPanel::Page::Stroke);
}
