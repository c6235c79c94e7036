#include "RecordingSession.h"
#include "core/app/TextIds.h"

#include <sys/resource.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// The file is a whole survey of consecutive frames from 0, as many as the
// recorder counted.
void expectWholeSurvey(const std::string &path, int frameCount)
{
    EXPECT_EQ(readFileBytes(path).size(), 1024u + static_cast<size_t>(frameCount) * 100512u);
    const auto frames = readRecording(path);
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].number, i);
}

} // namespace

// Each round stops at another moment: while the device thread waits in a
// hand-over the window leaves unanswered, or while frames arrive and are
// handed over. A deadlock would hang here (and time the test out).
TEST_F(RecordingSession, StoppingNeverWaitsForTheDeviceThreadWhileItWaits)
{
    environment.set("TESSIQ_SIM_FAST", "50");
    prepareProbe();
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        window.clear();
        const bool answering = round % 2 == 1;
        window.answer(answering);
        const std::string path = dir.file("round" + std::to_string(round) + ".Imv");
        ASSERT_TRUE(recorder.start(path, messages));
        if (answering) {
            ASSERT_TRUE(window.waitForShown(static_cast<size_t>(round % 3)));
        } else {
            ASSERT_TRUE(window.waitForPosted(1)); // a hand-over now waits
        }
        const bool whole = recorder.stop(messages);
        EXPECT_FALSE(recorder.isRecording());
        if (recorder.frameCount() == 0) {
            // Stopped before the first frame: no file is left, and that is told.
            EXPECT_FALSE(whole);
            EXPECT_FALSE(std::filesystem::exists(path));
            EXPECT_EQ(messages.messages, std::vector<int>{text::NothingRecorded});
            messages.messages.clear();
        } else {
            EXPECT_TRUE(whole);
            expectWholeSurvey(path, recorder.frameCount());
        }
        if (!answering) {
            EXPECT_EQ(recorder.frameCount(), 1);
        }
    }
    window.answer(true);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RecordingSession, TheWindowMayStopWhileItShowsAFrame)
{
    prepareProbe();
    window.onShow([&](const LiveRecorder::LiveFrame &frame) {
        if (frame.frameCount == 2) {
            EXPECT_TRUE(recorder.stop(messages));
        }
    });
    const std::string path = dir.file("stopped.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForShown(2));
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(recorder.frameCount(), 2);
    expectWholeSurvey(path, 2);
}

TEST_F(RecordingSession, ReplacingTheListenerReleasesAWaitingHandOver)
{
    prepareProbe();
    window.answer(false);
    const std::string path = dir.file("released.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForPosted(1));
    recorder.setListener(nullptr);
    // The device thread goes on without a window.
    while (recorder.frameCount() < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    stopRecording();
    expectWholeSurvey(path, recorder.frameCount());
    EXPECT_EQ(window.posted(), 1);
}

TEST_F(RecordingSession, AFullDiskStopsTheRecordingWithTheFramesBeforeIt)
{
    prepareProbe();
    const std::string path = dir.file("full.Imv");
    {
        // Room for the file header, three frames and 40,000 bytes of a fourth.
        FullDisk disk(1024 + 3 * 100512 + 40000);
        ASSERT_TRUE(recorder.start(path, messages));
        ASSERT_TRUE(window.waitForFailure());
        EXPECT_FALSE(recorder.isRecording());
        // The window stops the stream once told, and stopping says why.
        EXPECT_FALSE(recorder.stop(messages));
    }
    EXPECT_EQ(window.failures(), 1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_EQ(messages.details, std::vector<std::string>{"File too large"});
    EXPECT_EQ(recorder.frameCount(), 3);
    EXPECT_EQ(readFileBytes(path).size(), 1024u + 3u * 100512u);
    const auto frames = readRecording(path);
    ASSERT_EQ(frames.size(), 3u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].number, i);
        EXPECT_EQ(frames[i].header.signature, 73);
    }

    // The next recording works again.
    window.clear();
    messages.messages.clear();
    const std::string next = dir.file("next.Imv");
    ASSERT_TRUE(recorder.start(next, messages));
    ASSERT_TRUE(window.waitForShown(2));
    stopRecording();
    expectWholeSurvey(next, recorder.frameCount());
}

TEST_F(RecordingSession, AFileHeaderThatCannotBeWrittenLeavesNoFile)
{
    prepareProbe();
    const std::string path = dir.file("nothing.Imv");
    {
        FullDisk disk(100);
        EXPECT_FALSE(recorder.start(path, messages));
    }
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RecordingSession, ARecordingWithoutAFrameLeavesNoFileAndSaysSo)
{
    prepareProbe();
    ASSERT_TRUE(link.request(0x3E)); // the probe sends nothing
    const std::string path = dir.file("empty.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(recorder.stop(messages));
    EXPECT_EQ(recorder.frameCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(messages.messages, std::vector<int>{text::NothingRecorded});
}
