#include "CliRunner.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

const std::string SaveFileFailed = "保存文件失败\n";
// The same, with the system's reason when the file may grow no further.
const std::string SaveFileTooLarge = "保存文件失败\nFile too large\n";
const std::string SaveBmpFailed = "保存BMP文件失败\n";
constexpr size_t FrameBytes = 100512;
const std::vector<std::string> OnlyTheSurvey = {"s.Imv"};

// Commands write into a folder of their own, so that anything they leave
// behind shows.
class CliFiles : public Cli
{
protected:
    void SetUp() override
    {
        folder = dir.path() / "data";
        fs::create_directory(folder);
        survey = file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "40", "--seed", "2"}).status, 0);
        before = readFileBytes(survey);
    }

    std::string file(const std::string &name) const { return (folder / name).string(); }

    fs::path folder;
    std::string survey;
    std::vector<uint8_t> before;
};

} // namespace

TEST_F(CliFiles, ACopyCutShortByAFullDiskLeavesNothing)
{
    // Room for a file header, a frame and some of the next: what is left of
    // such a copy would open as a shorter survey.
    const CliRun r = runWith(diskFullAfter(300), {"copy", survey, file("c.Imv")}, dir.file("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, SaveFileTooLarge);
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
    EXPECT_EQ(readFileBytes(survey), before);
}

TEST_F(CliFiles, ACopyReplacesAnOlderFileWhole)
{
    writeFileBytes(file("c.Imv"), std::vector<uint8_t>(5, 'x'));
    fs::permissions(file("c.Imv"), fs::perms(0640));
    const CliRun r = run({"copy", survey, file("c.Imv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFileBytes(file("c.Imv")), before);
    EXPECT_EQ(fs::status(file("c.Imv")).permissions(), fs::perms(0640));
    EXPECT_EQ((namesIn(folder)), (std::vector<std::string>{"c.Imv", "s.Imv"}));
}

TEST_F(CliFiles, AFailedDeletionLeavesTheSurveyAndNoTemporaryFile)
{
    const CliRun r =
        runWith(diskFullAfter(300), {"delete-frame", survey, "--frame", "5"}, dir.file("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, SaveFileTooLarge);
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
    EXPECT_EQ(readFileBytes(survey), before);
}

TEST_F(CliFiles, PicturesAndSimulationsCutShortLeaveNothing)
{
    // Each picture is larger than 10 KiB, each survey much larger.
    for (const std::vector<std::string> &command : {
             std::vector<std::string>{"render", survey, "-o", file("f.bmp")},
             std::vector<std::string>{"render", survey, "--stroke", "-o", file("f.bmp")},
             std::vector<std::string>{"chart", survey, "-o", file("f.bmp")},
             std::vector<std::string>{"deviation-map", survey, "-o", file("f.bmp")},
         }) {
        const CliRun r = runWith(diskFullAfter(20), command, dir.file("o"));
        EXPECT_EQ(r.status, 1) << command[1];
        EXPECT_EQ(r.err, SaveBmpFailed) << command[1];
        EXPECT_EQ(namesIn(folder), OnlyTheSurvey) << command[1];
    }
    const CliRun r = runWith(diskFullAfter(300), {"simulate", "-o", file("n.Imv"), "--frames", "9"},
                             dir.file("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, SaveFileFailed);
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
}

TEST_F(CliFiles, DeletingThroughALinkChangesTheSurveyItPointsTo)
{
    const fs::path links = dir.path() / "links";
    fs::create_directory(links);
    const std::string link = (links / "link.Imv").string();
    fs::create_symlink(survey, link);
    fs::permissions(survey, fs::perms(0640));
    // Only root can give the survey another owner; the rest holds for anyone.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(survey.c_str(), 4321, 4322), 0);
    }

    const CliRun r = run({"delete-frame", link, "--frame", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), survey);
    const auto after = readFileBytes(survey);
    ASSERT_EQ(after.size(), 1024u + 39u * FrameBytes);
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 1024 + FrameBytes, before.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 1024 + FrameBytes, after.end(),
                           before.begin() + 1024 + 2 * FrameBytes));
    EXPECT_EQ(fs::status(survey).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
    EXPECT_EQ(namesIn(links), std::vector<std::string>{"link.Imv"});
    if (root) {
        struct stat st
        {};
        ASSERT_EQ(::stat(survey.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
}

TEST_F(CliFiles, NoOutputTakesThePlaceOfTheSurveyItReads)
{
    // Other names of the survey: another spelling, a symbolic link, a hard link.
    fs::create_symlink(survey, file("link.Imv"));
    ASSERT_EQ(::link(survey.c_str(), file("hard.Imv").c_str()), 0);
    const std::vector<std::string> names = {"hard.Imv", "link.Imv", "s.Imv"};
    for (const std::string &output : {survey, (folder / ".." / "data" / "s.Imv").string(),
                                      file("link.Imv"), file("hard.Imv")}) {
        for (const std::vector<std::string> &command : {
                 std::vector<std::string>{"render", survey, "-o", output},
                 std::vector<std::string>{"render", survey, "--stroke", "-o", output},
                 std::vector<std::string>{"chart", survey, "-o", output},
                 std::vector<std::string>{"deviation-map", survey, "-o", output},
                 std::vector<std::string>{"render3d", survey, "--viewpoint", "0", "-o", output},
                 std::vector<std::string>{"video", survey, "-o", output},
             }) {
            const CliRun r = run(command);
            EXPECT_EQ(r.status, 2) << command[0] << " -o " << output;
            EXPECT_NE(r.err.find("would replace the survey"), std::string::npos) << r.err;
        }
        const CliRun copy = run({"copy", survey, output});
        EXPECT_EQ(copy.status, 1) << output;
        EXPECT_EQ(copy.err, "不能将数据另存到当前打开的动画文件\n") << output;
        EXPECT_EQ(readFileBytes(survey), before) << output;
        EXPECT_EQ(namesIn(folder), names) << output;
        EXPECT_TRUE(fs::is_symlink(file("link.Imv")));
    }
}
