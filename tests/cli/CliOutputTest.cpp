#include "CliRunner.h"

using namespace dorvane::test;

namespace {

const std::string SaveFileFailed = "保存文件失败\n";
const std::string SaveBmpFailed = "保存BMP文件失败\n";

class CliOutput : public Cli
{
protected:
    void SetUp() override
    {
        survey = dir.file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "40", "--seed", "2"}).status, 0);
    }

    std::string survey;
};

} // namespace

TEST_F(CliOutput, ListingsThatCannotBeWrittenFail)
{
    for (const std::vector<std::string> &command : {
             std::vector<std::string>{"info", survey},
             std::vector<std::string>{"frames", survey},
             std::vector<std::string>{"frames", survey, "--json"},
             std::vector<std::string>{"profile", survey, "--frame", "3"},
             std::vector<std::string>{"mesh", survey},
             std::vector<std::string>{"palette"},
             std::vector<std::string>{"--help"},
         }) {
        const CliRun r = runWith("", command, "/dev/full");
        EXPECT_EQ(r.status, 1) << command[0];
        EXPECT_EQ(r.err, SaveFileFailed) << command[0];
    }
}

TEST_F(CliOutput, AListingCutShortByAFullDiskFails)
{
    // 40 rows of CSV take about 4 KiB; the disk holds 1 KiB.
    const std::string listing = dir.file("frames.csv");
    const CliRun r = runWith(diskFullAfter(2), {"frames", survey}, listing);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, SaveFileFailed);
    EXPECT_EQ(r.out.size(), 1024u);
}

TEST_F(CliOutput, PicturesThatCannotBeWrittenFail)
{
    for (const std::string &output : {std::string("/dev/full"), dir.file("no/folder.bmp")}) {
        for (const std::vector<std::string> &command : {
                 std::vector<std::string>{"render", survey, "-o", output},
                 std::vector<std::string>{"render", survey, "--overlay", "-o", output},
                 std::vector<std::string>{"chart", survey, "-o", output},
                 std::vector<std::string>{"deviation-map", survey, "-o", output},
             }) {
            const CliRun r = run(command);
            EXPECT_EQ(r.status, 1) << command[0] << " " << output;
            EXPECT_EQ(r.err, SaveBmpFailed) << command[0] << " " << output;
        }
    }
}
