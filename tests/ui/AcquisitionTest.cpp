// Recording through the acquire window with the probe simulator as the
// device library: device wait, firmware, probe check, record, stop.

#include "MainWindowTestFixture.h"
#include "core/acquire/AlarmTone.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "ui/acquire/AcquireWindow.h"
#include "ui/acquire/DialGauge.h"
#include "ui/acquire/ImportWindow.h"
#include "ui/display/FrameView.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace dorvane;
using namespace dorvane::test;

namespace {

std::vector<FrameHeader> headersOf(const std::string &path)
{
    AnimationFile file;
    std::vector<FrameHeader> headers;
    EXPECT_TRUE(file.open(path, PosixFile::Mode::Read));
    const auto size = file.file().size();
    const int frames = frameCountForSize(size.value_or(0)).value_or(0);
    for (int i = 0; i < frames; ++i) {
        FrameHeader h;
        EXPECT_TRUE(file.readFrameHeader(i, h));
        headers.push_back(h);
    }
    return headers;
}

// The simulator, fast: the device shows up at once and frames come quickly.
class AcquisitionTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ::setenv("TESSIQ_SIM_RATE", "50", 1);
        ::setenv("TESSIQ_SIM_DEVICE_DELAY", "0", 1);
        ::setenv("TESSIQ_SIM_TILT", "2", 1);
        DeviceLink::instance().useLibrary(PROBE_SIM_PATH);
        MainWindowTest::SetUp();
    }

    // Ticks the device wait until the probe is ready.
    void waitForProbe(AcquireWindow &dialog)
    {
        for (int tick = 0; tick < 10 && dialog.isWaitingForDevice(); ++tick)
            dialog.checkDevice();
        ASSERT_FALSE(dialog.isWaitingForDevice()) << dialog.windowTitle().toStdString();
    }

    int recorded() { return LiveRecorder::instance().frameCount(); }
};

} // namespace

TEST_F(AcquisitionTest, RecordsTheLiveFramesWithTheSettingsInForce)
{
    DeviceLink::instance().resetDevicePresent(); // as in a fresh program
    AcquireWindow dialog(prompts, QString(), window.get());
    dialog.show();
    // The overlay is laid out for a view of 500 pixels.
    EXPECT_EQ(dialog.liveView().size(), QSize(500, 500));
    EXPECT_TRUE(dialog.isWaitingForDevice());
    EXPECT_TRUE(dialog.findChild<QWidget *>("startButton")->isHidden());
    dialog.checkDevice(); // device found, firmware downloaded
    EXPECT_TRUE(dialog.windowTitle().startsWith(QString::fromUtf8("下载Bin文件完成")))
        << dialog.windowTitle().toStdString();
    dialog.checkDevice(); // probe answers
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("探头准备就绪（模拟探头）"));
    EXPECT_EQ(dialog.statusText(), dialog.windowTitle()); // inside the window too
    EXPECT_FALSE(dialog.isWaitingForDevice());
    EXPECT_FALSE(dialog.findChild<QWidget *>("startButton")->isHidden());

    auto *radius = dialog.findChild<QComboBox *>("detectRadiusList");
    ASSERT_EQ(radius->currentText(), "187mm");
    const std::string out = dir.file("live.Imv");
    prompts.nextSaveFile = QString::fromStdString(out);
    ASSERT_TRUE(dialog.startRecording());
    EXPECT_TRUE(dialog.findChild<QWidget *>("startButton")->isHidden());
    EXPECT_FALSE(dialog.findChild<QWidget *>("stopButton")->isHidden());
    EXPECT_FALSE(dialog.findChild<QWidget *>("pipeRadiusEdit")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return recorded() >= 4; }));
    EXPECT_TRUE(dialog.liveView().image().isValid());
    ASSERT_NE(dialog.liveView().overlay().header, nullptr);
    EXPECT_EQ(dialog.liveView().overlay().header->detectRadius, 187);
    // The current properties tab follows the live frames.
    EXPECT_EQ(dialog.findChild<QLineEdit *>("detectRadiusEdit")->text(), "187");
    EXPECT_EQ(dialog.findChild<QSpinBox *>("pipeRadiusValue")->value(), 150);
    EXPECT_NE(dialog.findChild<QLineEdit *>("cableEdit")->text(), "");

    // A new detection radius reaches the frames that follow.
    const int before = recorded();
    radius->setCurrentIndex(6);
    emit radius->activated(6);
    ASSERT_TRUE(waitUntil([&] { return recorded() >= before + 4; }));
    EXPECT_TRUE(dialog.statusText().startsWith(QString::fromUtf8("正在采集到 live.Imv：")))
        << dialog.statusText().toStdString();
    ASSERT_TRUE(dialog.stopRecording());
    EXPECT_FALSE(LiveRecorder::instance().isRecording());
    EXPECT_TRUE(dialog.findChild<QWidget *>("pipeRadiusEdit")->isEnabled());
    EXPECT_TRUE(prompts.messages.empty());

    const auto headers = headersOf(out);
    ASSERT_GE(headers.size(), 8u);
    // After the stop the window names the file and the frames it holds.
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.statusText(), QString::fromUtf8("已保存 live.Imv：%1 帧").arg(headers.size()));
    bool sawNewRadius = false;
    for (size_t i = 0; i < headers.size(); ++i) {
        const FrameHeader &h = headers[i];
        EXPECT_EQ(h.signature, FrameHeader::Signature);
        EXPECT_EQ(h.pipeRadius, 150);
        EXPECT_EQ(h.errorRate, 20);
        EXPECT_EQ(h.circleX, 250);
        EXPECT_EQ(h.circleY, 250);
        EXPECT_EQ(h.titleText(), "");
        EXPECT_EQ(h.defectFrame, 0);
        // Once the new radius shows, it stays.
        if (h.detectRadius == 1000)
            sawNewRadius = true;
        else
            EXPECT_FALSE(sawNewRadius) << "frame " << i;
        EXPECT_TRUE(h.detectRadius == 187 || h.detectRadius == 1000);
    }
    EXPECT_EQ(headers.front().detectRadius, 187);
    EXPECT_TRUE(sawNewRadius);
}

TEST_F(AcquisitionTest, RefusalsAndRecordingOntoTheOpenSurvey)
{
    const std::string open = survey(3);
    AcquireWindow dialog(prompts, QString::fromStdString(open), window.get());
    waitForProbe(dialog);
    // A pipe radius of 0 is no pipe.
    dialog.findChild<QLineEdit *>("pipeRadiusEdit")->setText("0");
    EXPECT_FALSE(dialog.startRecording());
    EXPECT_EQ(prompts.messages, std::vector<int>{text::EnterValidPipeRadius});
    dialog.findChild<QLineEdit *>("pipeRadiusEdit")->setText("150");

    // Under its own name, a symbolic link or a hard link.
    std::filesystem::create_symlink(open, dir.file("link.Imv"));
    std::filesystem::create_hard_link(open, dir.file("hard.Imv"));
    const auto before = readFileBytes(open);
    for (const std::string &name : {open, dir.file("link.Imv"), dir.file("hard.Imv")}) {
        prompts.messages.clear();
        prompts.nextSaveFile = QString::fromStdString(name);
        EXPECT_FALSE(dialog.startRecording()) << name;
        EXPECT_EQ(prompts.messages, std::vector<int>{text::CannotSaveOverOpenFile}) << name;
        EXPECT_FALSE(LiveRecorder::instance().isRecording());
    }
    EXPECT_EQ(readFileBytes(open), before);

    // A folder that does not exist: told, and still ready.
    prompts.nextSaveFile = QString::fromStdString(dir.file("missing/live.Imv"));
    EXPECT_FALSE(dialog.startRecording());
    EXPECT_EQ(prompts.messages.back(), text::CreateFileFailed);
    EXPECT_FALSE(dialog.findChild<QWidget *>("startButton")->isHidden());
    EXPECT_TRUE(dialog.findChild<QWidget *>("stopButton")->isHidden());
    EXPECT_TRUE(dialog.findChild<QWidget *>("pipeRadiusEdit")->isEnabled());
}

TEST_F(AcquisitionTest, ClosingWhileRecordingStopsTheStreamAndKeepsTheFile)
{
    const std::string out = dir.file("closed.Imv");
    {
        AcquireWindow dialog(prompts, QString(), window.get());
        waitForProbe(dialog);
        prompts.nextSaveFile = QString::fromStdString(out);
        ASSERT_TRUE(dialog.startRecording());
        ASSERT_TRUE(waitUntil([&] { return recorded() >= 3; }));
        dialog.reject();
        EXPECT_FALSE(LiveRecorder::instance().isRecording());
    }
    const size_t frames = headersOf(out).size();
    EXPECT_GE(frames, 3u);
    QTest::qWait(200); // nothing more is written once closed
    EXPECT_EQ(headersOf(out).size(), frames);

    // A second recording in another window writes a fresh file.
    AcquireWindow again(prompts, QString(), window.get());
    again.checkDevice(); // the device is known: straight to the probe check
    EXPECT_FALSE(again.isWaitingForDevice());
    const std::string second = dir.file("second.Imv");
    prompts.nextSaveFile = QString::fromStdString(second);
    ASSERT_TRUE(again.startRecording());
    ASSERT_TRUE(waitUntil([&] { return recorded() >= 2; }));
    ASSERT_TRUE(again.stopRecording());
    EXPECT_EQ(headersOf(out).size(), frames);
    EXPECT_GE(headersOf(second).size(), 2u);
}

TEST_F(AcquisitionTest, AFullDiskStopsTheRecordingWithAValidSurvey)
{
    AcquireWindow dialog(prompts, QString(), window.get());
    waitForProbe(dialog);
    const std::string out = dir.file("full.Imv");
    prompts.nextSaveFile = QString::fromStdString(out);
    {
        // Room for the file header and three frames and a half.
        const FullDisk full(1024 + 3 * FrameRecord::Size + FrameRecord::Size / 2);
        ASSERT_TRUE(dialog.startRecording());
        ASSERT_TRUE(waitUntil([&] { return !prompts.messages.empty(); }));
    }
    EXPECT_EQ(prompts.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_FALSE(LiveRecorder::instance().isRecording());
    EXPECT_FALSE(dialog.findChild<QWidget *>("startButton")->isHidden());
    EXPECT_EQ(readFileBytes(out).size(), 1024u + 3u * FrameRecord::Size);
    AnimationDocument reopened(prompts);
    EXPECT_TRUE(reopened.open(out, nullptr));
    EXPECT_EQ(reopened.frameCount(), 3);
}

// The first frame cannot be written; the window closes (or goes) before it
// has heard of that: the stream stops all the same and the failure is told.
TEST_F(AcquisitionTest, AFailureTheWindowHasNotHeardOfIsToldWhenItCloses)
{
    for (const bool closedByUser : {true, false}) {
        SCOPED_TRACE(closedByUser);
        prompts.messages.clear();
        const std::string out = dir.file(closedByUser ? "closed.Imv" : "gone.Imv");
        {
            AcquireWindow dialog(prompts, QString(), window.get());
            waitForProbe(dialog);
            prompts.nextSaveFile = QString::fromStdString(out);
            const FullDisk full(1024);
            ASSERT_TRUE(dialog.startRecording());
            // No events are handled meanwhile: the window does not know yet.
            for (int i = 0; i < 500 && LiveRecorder::instance().isRecording(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ASSERT_FALSE(LiveRecorder::instance().isRecording());
            if (closedByUser)
                dialog.reject();
        }
        EXPECT_FALSE(LiveRecorder::instance().isStreaming());
        EXPECT_EQ(prompts.messages,
                  (std::vector<int>{text::SaveFileFailed, text::NothingRecorded}));
        EXPECT_FALSE(std::filesystem::exists(out));
        QCoreApplication::processEvents();
        EXPECT_EQ(prompts.messages.size(), 2u);
    }
}

// The dial shows the tilt with its sign, and a probe tipped backwards beyond
// 45 degrees sounds the alarm as one tipped forwards does.
TEST_F(AcquisitionTest, TheDialAndTheAlarmKnowABackwardTilt)
{
    ::setenv("TESSIQ_SIM_TILT", "-56", 1); // backwards first, beyond 45 from frame 5
    settings().tiltAlarm = 1;
    AlarmTone &alarm = AlarmTone::instance();
    ASSERT_TRUE(waitUntil([&] { return !alarm.isSounding(); }));
    AcquireWindow dialog(prompts, QString(), window.get());
    waitForProbe(dialog);
    prompts.nextSaveFile = QString::fromStdString(dir.file("tipped.Imv"));
    ASSERT_TRUE(dialog.startRecording());
    const auto shownTilt = [&] {
        const FrameHeader *header = dialog.liveView().overlay().header;
        return header ? header->tilt : 0.0f;
    };
    ASSERT_TRUE(waitUntil([&] { return shownTilt() < -45.0f; }));
    EXPECT_EQ(dialog.dialGauge().value(), shownTilt());
    EXPECT_TRUE(alarm.isSounding());
    EXPECT_TRUE(dialog.dialGauge().readout().startsWith('-'));
    ASSERT_TRUE(dialog.stopRecording());
}

TEST_F(AcquisitionTest, TheToolbarAsksToSaveFirst)
{
    open(survey(4));
    editTitle("pending");
    prompts.answers = {MessageSink::Answer::Cancel};
    QTest::mouseClick(child<QToolButton>("acquireButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, std::vector<int>{text::DataChangedSave});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // no window opened

    // Each command opens its own window.
    const auto opens = [&](const char *button, const char *windowName) {
        QString opened;
        QTimer::singleShot(50, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                opened = dialog->objectName();
                dialog->reject();
            }
        });
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
        return opened == windowName;
    };
    prompts.answers = {MessageSink::Answer::No};
    EXPECT_TRUE(opens("importButton", "importWindow"));
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(opens("acquireButton", "acquireWindow"));
}

TEST_F(AcquisitionTest, TheImportRefusesTheImgFileTheMainWindowShows)
{
    const std::string shown = dir.file("shown.img");
    writeFileBytes(shown, makeImgFile(1000, 2.0f, 40));
    const std::string other = dir.file("other.img");
    writeFileBytes(other, makeImgFile(1000, 3.0f, 50));
    open(shown);
    const std::vector<uint8_t> before = readFileBytes(shown);
    bool refused = false;
    QTimer::singleShot(50, [&] {
        auto *dialog = qobject_cast<ImportWindow *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        prompts.nextOpenFiles = {QString::fromStdString(other)};
        dialog->addFiles();
        prompts.nextSaveFile = QString::fromStdString(shown);
        refused = !dialog->saveAnimation();
        dialog->reject();
    });
    QTest::mouseClick(child<QToolButton>("importButton"), Qt::LeftButton);
    EXPECT_TRUE(refused);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::CannotSaveOverOpenFile});
    EXPECT_EQ(readFileBytes(shown), before);
}
