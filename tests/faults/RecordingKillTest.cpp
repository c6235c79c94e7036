// A live recording whose program is killed part way: the survey it leaves
// opens with every frame written whole before the kill.

#include "core/data/AnimationFile.h"
#include "core/document/AnimationDocument.h"
#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dorvane::test {

TEST(RecordingKilled, TheSurveyOpensWithTheFramesWrittenBeforeTheKill)
{
    TempDir dir;
    const std::string path = dir.file("live.Imv");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(TESSIQ_CLI_PATH, TESSIQ_CLI_PATH, "record", "--simulate", "-o", path.c_str(),
                "--frames", "100000", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    // Killed once the third frame is on its way.
    const uint64_t third = frameOffset(2) + 1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const auto sizeNow = [&path]() -> uint64_t {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        return error ? 0 : size;
    };
    while (sizeNow() < third && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the recording ended before it was killed";

    const uint64_t size = std::filesystem::file_size(path);
    ASSERT_GE(size, third);
    const int whole = static_cast<int>((size - frameOffset(0)) / FrameRecord::Size);
    RecordingMessageSink messages;
    AnimationDocument document(messages);
    ASSERT_TRUE(document.open(path, nullptr));
    EXPECT_EQ(document.frameCount(), whole);
    for (int i = 0; i < whole; ++i)
        EXPECT_TRUE(document.loadFrame(i, true)) << i;
    EXPECT_EQ(messages.messages, std::vector<int>{});
}

} // namespace dorvane::test
