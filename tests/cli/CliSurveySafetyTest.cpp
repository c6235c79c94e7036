// Surveys under two writers, links, FIFOs and killed processes: what lands
// on disk and what the tool says.
#include "CliRunner.h"
#include "core/base/ByteOrder.h"
#include "support/LockHeldElsewhere.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <utime.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

constexpr size_t FrameBytes = 100512;

class CliSurveySafety : public Cli
{
protected:
    void SetUp() override
    {
        path = dir.file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", path, "--frames", "30", "--seed", "3"}).status, 0);
    }

    uint16_t stored(const std::vector<uint8_t> &file, int frame, size_t offset)
    {
        return le::readU16(&file[1024 + static_cast<size_t>(frame) * FrameBytes + offset]);
    }

    // Files in the survey's folder whose names end with ".tmp".
    std::vector<std::string> temporaries()
    {
        std::vector<std::string> found;
        for (const auto &name : namesIn(dir.path()))
            if (name.ends_with(".tmp"))
                found.push_back(name);
        return found;
    }

    std::string path;
};

} // namespace

TEST_F(CliSurveySafety, TheJournalNeverWritesThroughALinkUnderItsName)
{
    const std::string other = dir.file("other.Imv");
    fs::copy_file(path, other);
    const auto survey = readFileBytes(path);
    const auto otherBytes = readFileBytes(other);

    fs::create_symlink(other, path + ".undo");
    CliRun r = run({"apply", path, "--kind", "1", "--value", "300"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("保存日志的文件名被链接、文件夹或设备占用"), std::string::npos) << r.err;
    EXPECT_EQ(readFileBytes(other), otherBytes);
    EXPECT_EQ(readFileBytes(path), survey);
    EXPECT_TRUE(fs::is_symlink(path + ".undo"));

    // A link back to the survey itself.
    fs::remove(path + ".undo");
    fs::create_symlink(path, path + ".undo");
    EXPECT_EQ(run({"apply", path, "--kind", "1", "--value", "300"}).status, 1);
    EXPECT_EQ(readFileBytes(path), survey);

    // With the name free again the edit goes through.
    fs::remove(path + ".undo");
    ASSERT_EQ(run({"apply", path, "--kind", "1", "--value", "300"}).status, 0);
    EXPECT_EQ(stored(readFileBytes(path), 29, 8), 300);
}

TEST_F(CliSurveySafety, ASurveyAnotherProgramIsWritingIsRefusedAndTwoEditsNeverLoseOne)
{
    const auto before = readFileBytes(path);
    fs::copy_file(path, dir.file("other.Imv"));
    {
        const LockHeldElsewhere writer(path);
        ASSERT_TRUE(writer.holds());
        for (const std::vector<std::string> &args :
             {std::vector<std::string>{"apply", path, "--kind", "1", "--value", "300"},
              std::vector<std::string>{"delete-frame", path, "--frame", "3"},
              std::vector<std::string>{"info", path}}) {
            const CliRun r = run(args);
            EXPECT_EQ(r.status, 1) << args[0];
            EXPECT_EQ(r.err, "文件正被另一个程序修改，请稍后再试\n") << args[0];
        }
        // Nor is it replaced by a copy or recording.
        const CliRun r = run({"copy", dir.file("other.Imv"), path});
        EXPECT_NE(r.status, 0);
    }
    EXPECT_EQ(readFileBytes(path), before);

    // Two edits at once: each either lands whole or is refused, never both
    // reported done with one lost.
    for (int round = 0; round < 5; ++round) {
        const std::string cli = quote(TESSIQ_CLI_PATH);
        const std::string a = dir.file("a.rc"), b = dir.file("b.rc");
        const std::string both = "(" + cli + " apply " + quote(path) + " --kind 1 --value " +
                                 std::to_string(400 + round) + " 2>/dev/null; echo $? >" +
                                 quote(a) + ") & (" + cli + " apply " + quote(path) +
                                 " --kind 2 --value " + std::to_string(20 + round) +
                                 " 2>/dev/null; echo $? >" + quote(b) + ") & wait";
        ASSERT_EQ(std::system(both.c_str()), 0);
        const auto file = readFileBytes(path);
        const bool radiusDone = slurp(a) == "0\n";
        const bool rateDone = slurp(b) == "0\n";
        EXPECT_TRUE(radiusDone || rateDone) << round;
        for (int frame : {0, 29}) {
            if (radiusDone) {
                EXPECT_EQ(stored(file, frame, 8), 400 + round) << round;
            }
            if (rateDone) {
                EXPECT_EQ(stored(file, frame, 12), 20 + round) << round;
            }
        }
    }
}

TEST_F(CliSurveySafety, NoFifoHoldsACommand)
{
    const std::string fifo = dir.file("f.Imv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CliRun r = runProgram("timeout", {"10", TESSIQ_CLI_PATH, "info", fifo});
    EXPECT_EQ(r.status, 1);

    // A FIFO with the journal's name is left alone; reading goes on, a save
    // is refused.
    ASSERT_EQ(::mkfifo((path + ".undo").c_str(), 0600), 0);
    r = runProgram("timeout", {"10", TESSIQ_CLI_PATH, "info", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lines(r.out)[0], "frames: 30");
    r = runProgram("timeout",
                   {"10", TESSIQ_CLI_PATH, "apply", path, "--kind", "1", "--value", "300"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("保存日志的文件名被链接、文件夹或设备占用"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_fifo(path + ".undo"));

    // A journal that is damaged says so, and is kept for whoever looks.
    fs::remove(path + ".undo");
    writeFileBytes(path + ".undo", bytesOf("DVUJ and nothing a journal holds"));
    r = run({"info", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "文件旁的保存日志已损坏：未使用，也未删除\n" + fs::canonical(path).string() +
                         ".undo\n");
    EXPECT_TRUE(fs::exists(path + ".undo"));
}

TEST_F(CliSurveySafety, KilledCopiesLeaveTemporaryFilesThatTheNextOneRemovesAndNames)
{
    ASSERT_EQ(run({"simulate", "-o", path, "--frames", "400", "--seed", "3"}).status, 0);
    const std::string out = dir.file("out.Imv");
    const std::string command = "timeout -s KILL %.3f " + quote(TESSIQ_CLI_PATH) + " copy " +
                                quote(path) + " " + quote(out) + " 2>/dev/null";
    // A copy of the survey takes some 40 ms here, longer in a sanitizer build
    // or on a loaded machine: the kill comes later while copies are killed
    // before they begin, and sooner while they finish, until two land part
    // way.
    double delay = 0.010;
    for (int attempt = 0; attempt < 40 && temporaries().size() < 2; ++attempt) {
        const size_t before = temporaries().size();
        fs::remove(out);
        char line[1024];
        std::snprintf(line, sizeof line, command.c_str(), delay);
        (void)std::system(line);
        if (fs::exists(out))
            delay = std::max(0.002, delay * 0.7);
        else if (temporaries().size() == before)
            delay *= 1.4;
    }
    const auto left = temporaries();
    ASSERT_GE(left.size(), 2u) << "no copy was killed part way";

    // Left a while ago by the killed copies; one fresh, one still written.
    const time_t old = ::time(nullptr) - 120;
    const utimbuf times{old, old};
    for (const auto &name : left)
        ASSERT_EQ(::utime(dir.file(name).c_str(), &times), 0);
    const std::string fresh = dir.file("out.Imv.tessiq-fresh0.tmp");
    const std::string busy = dir.file("out.Imv.tessiq-busy00.tmp");
    writeFileBytes(fresh, bytesOf("x"));
    writeFileBytes(busy, bytesOf("x"));
    ASSERT_EQ(::utime(busy.c_str(), &times), 0);
    const LockHeldElsewhere writer(busy);
    ASSERT_TRUE(writer.holds());

    const CliRun r = run({"copy", path, out});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto &name : left)
        EXPECT_NE(r.err.find("已删除中断的保存留下的临时文件\n" + dir.file(name)),
                  std::string::npos)
            << name;
    auto remaining = temporaries();
    std::sort(remaining.begin(), remaining.end());
    EXPECT_EQ(remaining,
              (std::vector<std::string>{"out.Imv.tessiq-busy00.tmp", "out.Imv.tessiq-fresh0.tmp"}));
    EXPECT_EQ(readFileBytes(out), readFileBytes(path));
}

TEST_F(CliSurveySafety, InfoKeepsEveryFieldOnItsOwnLine)
{
    auto bytes = readFileBytes(path);
    const std::string place = "a\nb\\c\r\x01";
    std::fill(bytes.begin() + 8, bytes.begin() + 72, 0);
    std::copy(place.begin(), place.end(), bytes.begin() + 8);
    // The probe pulled back: the cable length falls from 20 m to 2 m.
    for (int frame = 0; frame < 30; ++frame)
        le::writeF32(&bytes[1024 + static_cast<size_t>(frame) * FrameBytes + 24],
                     20.0f - 18.0f * static_cast<float>(frame) / 29.0f);
    writeFileBytes(path, bytes);

    const auto info = lines(run({"info", path}).out);
    ASSERT_EQ(info.size(), 9u);
    EXPECT_EQ(info[1], "place: a\\nb\\\\c\\r\\x01");
    EXPECT_EQ(info[6], "chart_x_range_m: none");
}
