#include "CliRunner.h"
#include "support/MovieReader.h"
#include "support/ReadOnlyFolder.h"

#include <filesystem>

using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t Xvid = 0x44495658; // "XVID"
// Message 189 with its line break, then the writer's text.
const std::string AviError = "压缩AVI出错,错误信息：\n";
const std::vector<std::string> OnlyTheSurvey = {"s.Imv"};

class CliVideo : public Cli
{
protected:
    void SetUp() override
    {
        folder = dir.path() / "data";
        fs::create_directory(folder);
        survey = file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "12"}).status, 0);
    }

    std::string file(const std::string &name) const { return (folder / name).string(); }

    fs::path folder;
    std::string survey;
};

} // namespace

TEST_F(CliVideo, EveryFrameAtFourFramesPerSecondOfFiveHundredPixels)
{
    const std::string movie = file("v.avi");
    const CliRun r = run({"video", survey, "-o", movie});
    ASSERT_EQ(r.status, 0) << r.err;
    // Not a terminal: no progress line.
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    const Movie m = readMovie(movie);
    EXPECT_EQ(m.codec, "mpeg4");
    EXPECT_EQ(m.codecTag, Xvid);
    EXPECT_EQ(m.timeBaseNum, 1);
    EXPECT_EQ(m.timeBaseDen, 4);
    EXPECT_EQ(m.declaredFrames, 12);
    EXPECT_EQ(m.packets, 12);
    EXPECT_EQ(m.keyPackets, 12);
    EXPECT_EQ(m.width, 500);
    EXPECT_EQ(m.height, 500);
    EXPECT_EQ(m.decoded, 12);
    EXPECT_EQ((namesIn(folder)), (std::vector<std::string>{"s.Imv", "v.avi"}));
}

TEST_F(CliVideo, SizeRateAndTextsAsAsked)
{
    const std::string movie = file("v.avi");
    const CliRun r = run({"video", survey, "-o", movie, "--texts", "--size", "333", "--fps", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The background near the top right corner, 0xFC2800: in BT.601's video
    // range Y = 16 + (65.481 * 252 + 128.553 * 40) / 255 = 101, U = 79, V = 224.
    const Movie m = readMovie(movie, {{325, 60}});
    EXPECT_EQ(m.width, 333);
    EXPECT_EQ(m.height, 333);
    EXPECT_EQ(m.timeBaseNum, 1);
    EXPECT_EQ(m.timeBaseDen, 10);
    EXPECT_EQ(m.packets, 12);
    EXPECT_EQ(m.decoded, 12);
    ASSERT_EQ(m.y.size(), 1u);
    EXPECT_NEAR(m.y[0], 101, 3);
    EXPECT_NEAR(m.u[0], 79, 3);
    EXPECT_NEAR(m.v[0], 224, 3);
}

TEST_F(CliVideo, AFullDiskLeavesNoMovie)
{
    // Each frame codes to tens of KiB: the limit falls within the movie.
    const CliRun r =
        runWith(diskFullAfter(300), {"video", survey, "-o", file("v.avi")}, dir.file("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, AviError + "Unable to Write Video Stream to the output Movie File\n");
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
}

TEST_F(CliVideo, AReadOnlyFolderTakesNoMovie)
{
    const std::string locked = file("locked");
    fs::create_directory(locked);
    const ReadOnlyFolder readOnly(locked);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "the folder could not be made read-only here";
    const CliRun r = run({"video", survey, "-o", locked + "/v.avi"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, AviError + "Unable to Create the Movie File\n");
    EXPECT_TRUE(namesIn(locked).empty());
}

TEST_F(CliVideo, ASurveyThatCannotBeOpenedMakesNoMovie)
{
    const CliRun r = run({"video", file("missing.Imv"), "-o", file("v.avi")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
}

TEST_F(CliVideo, BadArgumentsAreBadUsage)
{
    const std::string movie = file("v.avi");
    const std::vector<std::vector<std::string>> commands = {
        {"video", survey},
        {"video", "-o", movie},
        {"video", survey, survey, "-o", movie},
        {"video", survey, "-o", movie, "--size", "15"},
        {"video", survey, "-o", movie, "--size", "4001"},
        {"video", survey, "-o", movie, "--size", "big"},
        {"video", survey, "-o", movie, "--fps", "0"},
        {"video", survey, "-o", movie, "--fps"},
        {"video", survey, "-o", movie, "--overlay"},
        // The movie would take the survey's place.
        {"video", survey, "-o", survey},
    };
    const auto before = readFileBytes(survey);
    for (const auto &command : commands) {
        const CliRun r = run(command);
        EXPECT_EQ(r.status, 2) << command.size();
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    }
    EXPECT_EQ(readFileBytes(survey), before);
    EXPECT_EQ(namesIn(folder), OnlyTheSurvey);
}
