#include "FileFaults.h"
#include "RecordingSession.h"
#include "core/app/TextIds.h"

#include <filesystem>

namespace dorvane::test {

namespace {

// A recording against the probe simulator with one file operation faulted.
class RecordingFaults : public RecordingSession, public ::testing::WithParamInterface<Fault>
{
protected:
    std::string folder() const { return std::filesystem::canonical(dir.path()).string(); }
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
        EXPECT_TRUE(recorder.stop());
        operations = faults.operations();
    }
    EXPECT_EQ(window.failures(), std::vector<int>{text::SaveFileFailed});
    EXPECT_EQ(messages.messages, std::vector<int>{});
    EXPECT_EQ(readFileBytes(path).size(), 1024u + 100512u);
    EXPECT_EQ(readRecording(path).size(), 1u);
    // A short write tries the rest once more before it gives up.
    const std::vector<std::string> expected =
        GetParam() == Fault::ShortWrite
            ? std::vector<std::string>{"open",  "write",     "write", "write",
                                       "write", "ftruncate", "close"}
            : std::vector<std::string>{"open", "write", "write", "write", "ftruncate", "close"};
    EXPECT_EQ(operations, expected);
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
