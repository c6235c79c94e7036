#include "FileFaults.h"
#include "RecordingSession.h"
#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"

#include <cerrno>
#include <filesystem>

namespace dorvane::test {

namespace {

// A recording against the probe simulator with one file operation faulted.
class RecordingFaults : public RecordingSession, public ::testing::WithParamInterface<Fault>
{
protected:
    std::string folder() const { return std::filesystem::canonical(dir.path()).string(); }
    // The reason the faulted call gives (a short write runs out of room).
    int expectedError() const
    {
        switch (GetParam()) {
        case Fault::IoError:
            return EIO;
        case Fault::Denied:
            return EACCES;
        default:
            return ENOSPC;
        }
    }
};

} // namespace

// The file is created (1), gets its header (2) and the first frame (3); the
// second frame's write (4) fails: the file keeps the frames before it.
TEST_P(RecordingFaults, AFailedFrameWriteKeepsTheWholeFramesBeforeIt)
{
    prepareProbe();
    const std::string path = folder() + "/live.Imv";
    std::vector<std::string> operations;
    {
        FileFaults faults(folder(), 4, GetParam());
        ASSERT_TRUE(recorder.start(path, messages));
        ASSERT_TRUE(window.waitForFailure());
        EXPECT_FALSE(recorder.isRecording());
        operations = faults.operations();
        EXPECT_FALSE(recorder.stop(messages));
    }
    EXPECT_EQ(window.failures(), 1);
    // Told with the system's reason when the window stops the stream.
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_EQ(messages.details, std::vector<std::string>{systemErrorText(expectedError())});
    EXPECT_EQ(readFileBytes(path).size(), 1024u + 100512u);
    EXPECT_EQ(readRecording(path).size(), 1u);
    // A short write tries the rest once more before it gives up; the file is
    // cut back to its last whole frame and synced before it is closed.
    const std::vector<std::string> expected =
        GetParam() == Fault::ShortWrite
            ? std::vector<std::string>{"open",  "write",     "write", "write",
                                       "write", "ftruncate", "fsync", "close"}
            : std::vector<std::string>{"open",      "write", "write", "write",
                                       "ftruncate", "fsync", "close"};
    EXPECT_EQ(operations, expected);
}

// The second frame cannot be written (the disk is full), and then the call
// that should clean up after it fails too: the user hears of both.
TEST_P(RecordingFaults, AFailedCleanUpAfterAFailedWriteIsTold)
{
    prepareProbe();
    const std::string path = folder() + "/live.Imv";
    // The file is created (1), gets its header (2) and the first frame (3);
    // the second frame's write (4) fails for the full disk; then come the
    // cut back (5), the sync (6) and the close (7).
    for (const int cleanUp : {5, 6, 7}) {
        SCOPED_TRACE(cleanUp);
        messages.messages.clear();
        messages.details.clear();
        window.clear();
        {
            FullDisk disk(1024 + 100512);
            FileFaults faults(folder(), cleanUp, GetParam());
            ASSERT_TRUE(recorder.start(path, messages));
            ASSERT_TRUE(window.waitForFailure());
            EXPECT_TRUE(faults.fired());
        }
        EXPECT_FALSE(recorder.stop(messages));
        EXPECT_EQ(messages.messages,
                  (std::vector<int>{text::SaveFileFailed, text::RecordingNotCutBack}));
        EXPECT_EQ(messages.details, (std::vector<std::string>{systemErrorText(EFBIG),
                                                              systemErrorText(expectedError())}));
        // Nothing was written past the last whole frame.
        EXPECT_EQ(readRecording(path).size(), 1u);
        ASSERT_TRUE(link.request(0x3D));
    }
}

TEST_P(RecordingFaults, AFileThatCannotBeCreatedIsTold)
{
    prepareProbe();
    const std::string path = folder() + "/live.Imv";
    {
        FileFaults faults(folder(), 1, GetParam());
        EXPECT_FALSE(recorder.start(path, messages));
    }
    EXPECT_FALSE(recorder.isRecording());
    // A short write on an open is a full disk.
    EXPECT_EQ(messages.messages, std::vector<int>{text::CreateFileFailed});
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_P(RecordingFaults, AHeaderThatCannotBeWrittenLeavesNoFile)
{
    prepareProbe();
    const std::string path = folder() + "/live.Imv";
    {
        FileFaults faults(folder(), 2, GetParam());
        EXPECT_FALSE(recorder.start(path, messages));
    }
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_FALSE(std::filesystem::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Faults, RecordingFaults,
                         ::testing::Values(Fault::NoSpace, Fault::IoError, Fault::Denied,
                                           Fault::ShortWrite),
                         [](const ::testing::TestParamInfo<Fault> &info) {
                             switch (info.param) {
                             case Fault::NoSpace:
                                 return "NoSpace";
                             case Fault::IoError:
                                 return "IoError";
                             case Fault::Denied:
                                 return "Denied";
                             default:
                                 return "ShortWrite";
                             }
                         });

} // namespace dorvane::test
