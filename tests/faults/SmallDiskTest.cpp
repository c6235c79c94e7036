// Write paths on a disk that really fills up: a small tmpfs mounted in a
// mount namespace of a child process, so no privileges are needed where
// the kernel allows unprivileged user namespaces (skipped elsewhere).

#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "core/document/AnimationDocument.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane::test {

namespace {

constexpr int Unsupported = 77;

bool writeProcFile(const char *path, const std::string &text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

// Mounts a tmpfs of the given size on folder, for this process only.
bool mountSmallDisk(const std::string &folder, size_t bytes)
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    writeProcFile("/proc/self/setgroups", "deny");
    if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
        return false;
    const std::string options = "size=" + std::to_string(bytes);
    return ::mount("none", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// Runs body in a child with a tmpfs of the given size on folder; body
// returns what went wrong, empty when nothing did.
void onSmallDisk(const std::string &folder, size_t bytes,
                 const std::function<std::string(const std::string &)> &body)
{
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        if (!mountSmallDisk(folder, bytes))
            ::_exit(Unsupported);
        const std::string failures = body(folder);
        const bool sent = ::write(channel[1], failures.data(), failures.size()) ==
                          static_cast<ssize_t>(failures.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    std::string failures;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        failures.append(buffer, static_cast<size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == Unsupported)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(failures, "");
}

// Fills what is left of the disk holding folder.
void fill(const std::string &folder)
{
    std::ofstream filler(folder + "/filler", std::ios::binary);
    const std::vector<char> block(4096, 'f');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
        filler.flush();
}

std::string expect(bool holds, const std::string &what)
{
    return holds ? "" : what + "; ";
}

std::string messagesOf(const RecordingMessageSink &sink)
{
    std::string out;
    for (const int id : sink.messages)
        out += std::to_string(id) + " ";
    return out;
}

} // namespace

TEST(SmallDisk, ACopyThatDoesNotFitLeavesTheOlderCopyAndNothingElse)
{
    TempDir source;
    TempDir disk;
    const std::string survey = source.file("long.imv");
    writeSurvey(survey, 12); // 1.2 MB
    onSmallDisk(disk.path().string(), 1 << 20, [&](const std::string &folder) {
        const std::string copy = folder + "/copy.imv";
        writeSurvey(copy, 3, 5);
        const auto older = readFileBytes(copy);
        RecordingMessageSink messages;
        AnimationDocument document(messages);
        if (!document.open(survey, nullptr))
            return std::string("the survey did not open");
        const bool copied = document.copyAnimation(copy, nullptr, -1);
        return expect(!copied, "the copy reported success") +
               expect(messages.messages == std::vector<int>{text::SaveFileFailed},
                      "messages " + messagesOf(messages)) +
               expect(readFileBytes(copy) == older, "the older copy changed") +
               expect(namesIn(folder) == std::vector<std::string>{"copy.imv"},
                      "files left beside it");
    });
}

TEST(SmallDisk, AFrameDeletionWithoutRoomLeavesTheSurveyAsItWas)
{
    TempDir disk;
    onSmallDisk(disk.path().string(), 1 << 20, [](const std::string &folder) {
        const std::string path = folder + "/survey.imv";
        writeSurvey(path, 8); // 0.8 MB: no room for the copy without a frame
        const auto before = readFileBytes(path);
        RecordingMessageSink messages;
        AnimationDocument document(messages);
        if (!document.open(path, nullptr) || !document.loadFrame(2, false))
            return std::string("the survey did not open");
        const bool deleted = document.deleteCurrentFrame(nullptr);
        return expect(!deleted, "the deletion reported success") +
               expect(!messages.messages.empty(), "nothing was told") +
               expect(document.isOpen() && document.frameCount() == 8, "the survey was closed") +
               expect(readFileBytes(path) == before, "the survey changed") +
               expect(namesIn(folder) == std::vector<std::string>{"survey.imv"},
                      "files left beside it");
    });
}

TEST(SmallDisk, AHeaderSaveOnAFullDiskIsRefusedWhole)
{
    TempDir disk;
    onSmallDisk(disk.path().string(), 1 << 20, [](const std::string &folder) {
        const std::string path = folder + "/survey.imv";
        writeSurvey(path, 4);
        fill(folder);
        const auto before = readFileBytes(path);
        RecordingMessageSink messages;
        AnimationDocument document(messages);
        if (!document.open(path, nullptr) || !document.loadFrame(1, false))
            return std::string("the survey did not open");
        document.editCurrentHeader([](FrameHeader &h) { h.pipeRadius = 321; });
        const bool saved = document.saveCurrent();
        BulkEdit edit;
        edit.kind = BulkEditKind::ErrorRate;
        edit.value = 7;
        const bool edited = document.applyToFrames(edit, nullptr);
        const bool unchanged = readFileBytes(path) == before;
        // Once there is room again, the same edits go through.
        std::filesystem::remove(folder + "/filler");
        const bool savedLater = document.saveCurrent() && document.applyToFrames(edit, nullptr);
        FrameHeader header;
        document.readFrameHeader(3, header);
        return expect(!saved && !edited, "a save reported success") +
               expect(unchanged, "the survey changed") +
               expect(messages.messages ==
                          std::vector<int>{text::SaveFileFailed, text::SaveFileFailed},
                      "messages " + messagesOf(messages)) +
               expect(savedLater && header.errorRate == 7, "the later edit did not go through") +
               expect(namesIn(folder) == std::vector<std::string>{"survey.imv"},
                      "files left beside it");
    });
}

} // namespace dorvane::test
