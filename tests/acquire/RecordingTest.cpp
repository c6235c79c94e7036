#include "RecordingSession.h"
#include "core/app/TextIds.h"

#include <algorithm>
#include <cstring>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// Every byte of a recorded header is zero but the signature (0), pipe
// radius (8), error rate (12), detection radius (16), cable length (24),
// tilt and roll (32, 36) and circle centre (304, 306): no text, no flag.
void expectOnlyStampedFields(const std::vector<uint8_t> &header)
{
    const std::vector<std::pair<size_t, size_t>> stamped{{0, 2},   {8, 10},  {12, 14},  {16, 18},
                                                         {24, 28}, {32, 40}, {304, 308}};
    for (size_t i = 0; i < header.size(); ++i) {
        const bool isStamped = std::any_of(stamped.begin(), stamped.end(), [&](const auto &range) {
            return i >= range.first && i < range.second;
        });
        EXPECT_TRUE(isStamped || header[i] == 0) << "byte " << i;
    }
}

} // namespace

TEST_F(RecordingSession, TheFileHoldsEveryDeliveredFrameOnceWithItsOwnStatus)
{
    environment.set("TESSIQ_SIM_TILT", "50"); // the attitude changes visibly
    prepareProbe();
    const std::string path = dir.file("live.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(recorder.path(), path);
    ASSERT_TRUE(window.waitForShown(12));
    stopRecording();
    EXPECT_TRUE(messages.messages.empty());

    const auto bytes = readFileBytes(path);
    const int count = recorder.frameCount();
    ASSERT_GE(count, 12);
    ASSERT_EQ(bytes.size(), 1024u + static_cast<size_t>(count) * 100512u);
    // The file header is the magic "IV" and zeros.
    EXPECT_EQ(bytes[0], 'I');
    EXPECT_EQ(bytes[1], 'V');
    EXPECT_TRUE(std::all_of(bytes.begin() + 2, bytes.begin() + 1024, [](uint8_t b) { return !b; }));

    const auto frames = readRecording(path);
    const auto seen = window.seen();
    // A frame the recording stopped in the middle of handing over is in the
    // file but was not shown.
    ASSERT_GE(seen.size() + 1, frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        const FrameHeader &h = frames[i].header;
        // Consecutive from 0: none missing, none twice.
        EXPECT_EQ(frames[i].number, i);
        EXPECT_EQ(h.signature, 73);
        EXPECT_EQ(h.detectRadius, 187);
        EXPECT_EQ(h.pipeRadius, 150);
        EXPECT_EQ(h.errorRate, 20);
        EXPECT_EQ(h.circleX, 250);
        EXPECT_EQ(h.circleY, 250);
        expectOnlyStampedFields(frames[i].headerBytes);
        // The counter was zeroed and gains 20 counts (0.1 m) a frame.
        EXPECT_NEAR(h.cableLength, 0.1 * i, 1e-4);
        if (i >= seen.size())
            continue;
        // The window saw this very frame, as written, with its status.
        EXPECT_EQ(seen[i].number, i);
        EXPECT_EQ(seen[i].frameCount, static_cast<int>(i + 1));
        EXPECT_NE(seen[i].thread, std::this_thread::get_id());
        EXPECT_EQ(seen[i].header.encoded(), h.encoded());
        EXPECT_EQ(seen[i].status.distanceCount(), static_cast<int>(20 * i));
        EXPECT_EQ(h.tilt, probeAngle(seen[i].status.tiltCount()));
        EXPECT_EQ(h.roll, probeAngle(seen[i].status.rollCount()));
    }
    // With a sway of 50 degrees the tilt does not stand still.
    EXPECT_NE(frames[0].header.tilt, frames[11].header.tilt);
}

TEST_F(RecordingSession, SettingsChangedWhileRecordingApplyFromTheNextFrame)
{
    prepareProbe();
    window.onShow([&](const LiveRecorder::LiveFrame &frame) {
        if (frame.frameCount == 3)
            recorder.setPipeRadius(200);
        if (frame.frameCount == 5) {
            recorder.setDetectRadius(250);
            EXPECT_TRUE(link.request(0x5A));
        }
    });
    const std::string path = dir.file("changed.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForShown(8));
    stopRecording();

    const auto frames = readRecording(path);
    ASSERT_GE(frames.size(), 8u);
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i].number, i);
        EXPECT_EQ(frames[i].header.pipeRadius, i < 3 ? 150 : 200);
        EXPECT_EQ(frames[i].header.detectRadius, i < 5 ? 187 : 250);
    }
    EXPECT_EQ(recorder.pipeRadius(), 200);
    EXPECT_EQ(recorder.detectRadius(), 250);
}

TEST_F(RecordingSession, ZeroingTheDistanceWhileRecordingCountsFromTheNextFrame)
{
    prepareProbe();
    window.onShow([&](const LiveRecorder::LiveFrame &frame) {
        if (frame.frameCount == 4) {
            EXPECT_TRUE(link.request(0x3A));
        }
    });
    const std::string path = dir.file("zeroed.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForShown(7));
    stopRecording();

    const auto frames = readRecording(path);
    ASSERT_GE(frames.size(), 7u);
    const float expected[] = {0.0f, 0.1f, 0.2f, 0.3f, 0.0f, 0.1f, 0.2f};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_NEAR(frames[i].header.cableLength, expected[i], 1e-4) << i;
}

TEST_F(RecordingSession, FramesWithoutTheMarkerAreNeitherWrittenCountedNorShown)
{
    // Every fourth status record lacks its marker: frames 3, 7, 11 ...
    environment.set("TESSIQ_SIM_UNMARKED", "25");
    prepareProbe();
    const std::string path = dir.file("marked.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForShown(9));
    stopRecording();

    const auto frames = readRecording(path);
    ASSERT_GE(frames.size(), 9u);
    EXPECT_EQ(recorder.frameCount(), static_cast<int>(frames.size()));
    const std::vector<uint32_t> expected{0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(frames[i].number, expected[i]);
        // Each keeps the counter of its own record.
        EXPECT_NEAR(frames[i].header.cableLength, 0.1 * expected[i], 1e-4);
    }
    const auto seen = window.seen();
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].number, expected[i]);
        EXPECT_EQ(seen[i].frameCount, static_cast<int>(i + 1));
    }
}

TEST_F(RecordingSession, ASecondRecordingStartsAFreshFile)
{
    prepareProbe();
    const std::string first = dir.file("first.Imv");
    ASSERT_TRUE(recorder.start(first, messages));
    ASSERT_TRUE(window.waitForShown(3));
    stopRecording();
    const auto firstBytes = readFileBytes(first);
    const int firstCount = recorder.frameCount();
    ASSERT_EQ(firstBytes.size(), 1024u + static_cast<size_t>(firstCount) * 100512u);

    // Onto a file that was there: it is emptied first.
    const std::string second = dir.file("second.Imv");
    writeFileBytes(second, std::vector<uint8_t>(300000, 0xEE));
    window.clear();
    ASSERT_TRUE(link.request(0x3D));
    ASSERT_TRUE(recorder.start(second, messages));
    EXPECT_EQ(recorder.frameCount(), 0);
    ASSERT_TRUE(window.waitForShown(2));
    stopRecording();

    EXPECT_EQ(readFileBytes(first), firstBytes);
    const auto frames = readRecording(second);
    ASSERT_EQ(static_cast<int>(frames.size()), recorder.frameCount());
    ASSERT_GE(frames.size(), 2u);
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].number, i);
    EXPECT_EQ(window.seen()[0].frameCount, 1);
}

TEST_F(RecordingSession, AFileThatCannotBeCreatedStartsNothing)
{
    prepareProbe();
    const std::string path = dir.file("missing/live.Imv");
    EXPECT_FALSE(recorder.start(path, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::CreateFileFailed});
    EXPECT_FALSE(recorder.isRecording());
    std::this_thread::sleep_for(std::chrono::milliseconds(40)); // ten frame times
    EXPECT_EQ(window.posted(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RecordingSession, AStartWhileRecordingIsRefused)
{
    prepareProbe();
    const std::string path = dir.file("live.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    EXPECT_FALSE(recorder.start(dir.file("other.Imv"), messages));
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.Imv")));
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(recorder.path(), path);
    ASSERT_TRUE(window.waitForShown(1));
    stopRecording();
}

TEST_F(RecordingSession, WithoutAListenerFramesAreStillRecorded)
{
    prepareProbe();
    recorder.setListener(nullptr);
    const std::string path = dir.file("unseen.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    while (recorder.frameCount() < 4)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    stopRecording();
    const auto frames = readRecording(path);
    ASSERT_EQ(static_cast<int>(frames.size()), recorder.frameCount());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].number, i);
}

// A new detection radius resets the template while a frame waits to be
// shown: the window still sees that frame as it was written.
TEST_F(RecordingSession, AHandOverShowsTheFrameAsWrittenWhateverTheTemplateIsNow)
{
    environment.set("TESSIQ_SIM_TILT", "50");
    prepareProbe();
    window.answer(false);
    const std::string path = dir.file("reset.Imv");
    ASSERT_TRUE(recorder.start(path, messages));
    ASSERT_TRUE(window.waitForPosted(1));
    recorder.resetTemplate();
    window.answer(true);
    ASSERT_TRUE(window.waitForShown(1));
    stopRecording();

    const auto frames = readRecording(path);
    ASSERT_GE(frames.size(), 1u);
    const FrameHeader shown = window.seen()[0].header;
    EXPECT_EQ(shown.encoded(), frames[0].header.encoded());
    EXPECT_EQ(shown.detectRadius, 187);
    EXPECT_EQ(shown.pipeRadius, 150);
    EXPECT_NE(shown.tilt, 0.0f);
}
