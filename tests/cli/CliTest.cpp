#include "CliRunner.h"
#include "core/app/Settings.h"
#include "core/base/ByteOrder.h"
#include "core/data/FrameRecord.h"
#include "core/display/Palette.h"
#include "core/display/SonarImage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

using namespace dorvane;
using namespace dorvane::test;

TEST_F(Cli, SimulateThenInfoAndFrames)
{
    const std::string survey = dir.file("s.Imv");
    CliRun r = run({"simulate", "-o", survey, "--frames", "12", "--seed", "4", "--pipe", "500"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFileBytes(survey).size(), 1024u + 12u * 100512u);

    r = run({"info", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto info = lines(r.out);
    ASSERT_EQ(info.size(), 9u);
    EXPECT_EQ(info[0], "frames: 12");
    EXPECT_NE(info[1].find("place: 滨江路"), std::string::npos); // UTF-8 out
    EXPECT_EQ(info[2].rfind("start_well: Y", 0), 0u);
    EXPECT_EQ(info[3].rfind("end_well: Y", 0), 0u);
    EXPECT_EQ(info[4].rfind("cable_span_m: 1.", 0), 0u); // 11 steps of about 0.1 m
    EXPECT_EQ(info[5].rfind("average_sediment_permille: ", 0), 0u);

    r = run({"frames", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[0], "index,cable_m,tilt,roll,detect_mm,pipe_mm,error_pct,defect,report,"
                       "exclude,circle_on,circle_x,circle_y,sediment_permille,sediment_depth_mm");
    // Row values come from the stored header of each frame.
    const auto bytes = readFileBytes(survey);
    const size_t at = 1024 + 5 * 100512;
    char expected[200];
    std::snprintf(expected, sizeof expected, "5,%.9g,%.9g,%.9g,1000,500,10,%u,%u,0,0,250,250,",
                  static_cast<double>(le::readF32(&bytes[at + 24])),
                  static_cast<double>(le::readF32(&bytes[at + 32])),
                  static_cast<double>(le::readF32(&bytes[at + 36])), bytes[at + 2], bytes[at + 3]);
    EXPECT_EQ(rows[6].rfind(expected, 0), 0u) << rows[6];
}

TEST_F(Cli, RenderWritesThePictureWithThePalette)
{
    const std::string survey = dir.file("s.Imv");
    ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "3"}).status, 0);
    const std::string bmp = dir.file("f.bmp");
    const CliRun r = run({"render", survey, "--frame", "2", "--min", "10", "--max", "200",
                          "--colours", "32", "--grey", "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;

    const auto file = readFileBytes(bmp);
    ASSERT_EQ(file.size(), 14u + 40u + 1024u + 250000u);
    const auto palette = buildPalette(10, 200, 32, true);
    for (size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(file[54 + 4 * i], palette[i].blue);
        ASSERT_EQ(file[54 + 4 * i + 2], palette[i].red);
    }
    const auto bytes = readFileBytes(survey);
    const size_t frame = 1024 + 2 * 100512;
    SonarImage image;
    image.renderFrame(&bytes[frame + 512], le::readF32(&bytes[frame + 36]));
    EXPECT_TRUE(std::equal(file.begin() + 1078, file.end(), image.pixels()));
}

TEST_F(Cli, RenderWithOverlayDrawsTheFrameViewPicture)
{
    const std::string survey = dir.file("s.Imv");
    ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "3"}).status, 0);
    const std::string bmp = dir.file("view.bmp");
    const CliRun r =
        run({"render", survey, "--frame", "1", "--overlay", "--size", "333", "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto file = readFileBytes(bmp);
    ASSERT_EQ(file.size(), 333054u); // rows of 1000 bytes, no colour table
    EXPECT_EQ(le::readU32(&file[10]), 54u);
    EXPECT_EQ(le::readU16(&file[28]), 24);
    // The frame counter is white text in the top-left corner (the last rows).
    int white = 0;
    for (int y = 333 - 16; y < 333; ++y)
        for (int x = 0; x < 70; ++x) {
            const uint8_t *p =
                &file[54 + static_cast<size_t>(y) * 1000 + static_cast<size_t>(x) * 3];
            white += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    EXPECT_GT(white, 20);
    // A corner of the picture shows the palette's last colour, red FC2800.
    const uint8_t *corner = &file[54 + 100 * 1000 + 3 * 3];
    EXPECT_EQ(corner[2], 0xFC);
    EXPECT_EQ(corner[1], 0x28);

    EXPECT_EQ(run({"render", survey, "--texts", "-o", bmp}).status, 2);
    EXPECT_EQ(run({"render", survey, "--overlay", "--size", "2", "-o", bmp}).status, 2);
}

TEST_F(Cli, OverlayTextsFollowTheSavedSettings)
{
    // A copy of the tool with its own config.dat beside it, and the drawing
    // part it loads from its folder.
    const std::filesystem::path folder = dir.path() / "program";
    std::filesystem::create_directory(folder);
    const std::string program = (folder / "tessiq-cli").string();
    std::filesystem::copy_file(TESSIQ_CLI_PATH, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::filesystem::path built = std::filesystem::path(TESSIQ_CLI_PATH).parent_path();
    std::filesystem::create_symlink(built / "libtessiq-cli-draw.so",
                                    folder / "libtessiq-cli-draw.so");
    const std::string config = (folder / "config.dat").string();

    const std::string survey = dir.file("s.Imv");
    ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "3"}).status, 0);
    const std::string bmp = dir.file("view.bmp");
    // The title's second line names the survey's manholes, 16 pixels below
    // the top; nothing else is drawn between the counter and the cable.
    const auto titleWhite = [&](bool showTitle, const std::vector<std::string> &extra) {
        Settings settings;
        settings.showTitle = showTitle ? 1 : 0;
        EXPECT_TRUE(settings.save(config));
        std::vector<std::string> args = {"render", survey, "--frame", "1", "--overlay", "-o", bmp};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = runProgram(program, args);
        EXPECT_EQ(r.status, 0) << r.err;
        const auto file = readFileBytes(bmp);
        EXPECT_EQ(file.size(), 750054u);
        int white = 0;
        for (int y = 500 - 40; y < 500 && file.size() == 750054u; ++y)
            for (int x = 100; x < 400; ++x) {
                const uint8_t *p =
                    &file[54 + static_cast<size_t>(y) * 1500 + static_cast<size_t>(x) * 3];
                white += p[0] > 200 && p[1] > 200 && p[2] > 200;
            }
        return white;
    };
    EXPECT_GT(titleWhite(true, {"--texts"}), 20);
    EXPECT_EQ(titleWhite(false, {"--texts"}), 0);
    EXPECT_EQ(titleWhite(true, {}), 0); // without --texts no title at all
}

TEST_F(Cli, ImgFileIsAOneFrameSurvey)
{
    const std::string img = dir.file("probe.img");
    writeFileBytes(img, makeImgFile(1000, 2.5f, 60));
    CliRun r = run({"info", img});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out)[0], "frames: 1");
    r = run({"frames", img});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(lines(r.out).size(), 2u);
    EXPECT_EQ(lines(r.out)[1], "0,2.5,12.5,-7.25,1000,700,20,0,0,0,0,250,250,460,656");
    EXPECT_EQ(run({"render", img, "--frame", "0", "-o", dir.file("i.bmp")}).status, 0);
    EXPECT_EQ(run({"render", img, "--frame", "1", "-o", dir.file("i.bmp")}).status, 2);
}

TEST_F(Cli, PalettePrintsTheColours)
{
    const CliRun r = run({"palette"});
    ASSERT_EQ(r.status, 0);
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 256u);
    EXPECT_EQ(rows[0], "000034");
    EXPECT_EQ(rows[255], "FC2800");
    EXPECT_EQ(lines(run({"palette", "--grey", "--min", "100", "--max", "101"}).out)[101], "FFFFFF");
}

TEST_F(Cli, FailuresUseTheSystemsTextsAndExitStatuses)
{
    CliRun r = run({"info", dir.file("missing.Imv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "打开文件失败\n");

    // A survey's header alone; without the header, an IMG file cut short.
    std::vector<uint8_t> header(1024, 0);
    header[0] = 'I';
    header[1] = 'V';
    writeFileBytes(dir.file("short.Imv"), header);
    r = run({"frames", dir.file("short.Imv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "文件格式非法\n");
    writeFileBytes(dir.file("short.img"), std::vector<uint8_t>(1024, 0));
    r = run({"frames", dir.file("short.img")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "IMG文件错误\n");

    std::vector<uint8_t> partial(1024 + 100511, 0);
    partial[0] = 'I';
    partial[1] = 'V';
    writeFileBytes(dir.file("partial.Imv"), partial);
    r = run({"info", dir.file("partial.Imv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "文件数据错误\n");

    writeFileBytes(dir.file("junk.img"), std::vector<uint8_t>(5000, 'x'));
    r = run({"render", dir.file("junk.img"), "-o", dir.file("x.bmp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "IMG文件错误\n");
}

TEST_F(Cli, AHugeSparseSurveyIsRefusedNotAborted)
{
    const std::string path = dir.file("huge.Imv");
    writeSurvey(path, 1);
    if (extendSparse(path) == 0)
        GTEST_SKIP() << "the filesystem takes no sparse file of 64 GiB";
    const CliRun r = run({"info", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "动画数据帧存在错误\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(Cli, BadUsageExitsWithTwo)
{
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"explode"}).status, 2);
    EXPECT_EQ(run({"info"}).status, 2);
    EXPECT_EQ(run({"render", "x.Imv"}).status, 2); // no -o
    EXPECT_EQ(run({"palette", "--colours", "8"}).status, 2);
    EXPECT_EQ(run({"palette", "--min", "abc"}).status, 2);
    EXPECT_EQ(run({"simulate", "-o", dir.file("x.Imv")}).status, 2);
    EXPECT_EQ(run({"frames", "a", "--bogus"}).status, 2);

    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char *command : {"info", "frames", "render", "palette", "simulate"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}
