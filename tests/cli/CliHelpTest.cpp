#include "CliRunner.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace dorvane::test;

namespace {

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

const std::vector<std::string> CommandNames = {
    "info",         "frames",   "profile",       "render", "palette",      "simulate", "apply",
    "delete-frame", "copy",     "deviation-map", "chart",  "mesh",         "import",   "record",
    "probe-status", "render3d", "report",        "video",  "batch-report",
};

// Each command and the options its help must explain.
const std::vector<std::pair<std::string, std::vector<std::string>>> CommandOptions = {
    {"info", {"FILE"}},
    {"frames", {"FILE", "--json"}},
    {"profile", {"FILE", "--frame"}},
    {"render",
     {"FILE", "--frame", "-o", "--min", "--max", "--colours", "--grey", "--overlay", "--texts",
      "--stroke", "--size"}},
    {"palette", {"--min", "--max", "--colours", "--grey"}},
    {"simulate", {"-o", "--frames", "--seed", "--detect", "--pipe"}},
    {"apply", {"FILE", "--kind", "--value", "--circle", "--frame"}},
    {"delete-frame", {"FILE", "--frame"}},
    {"copy", {"FILE", "DEST"}},
    {"deviation-map", {"FILE", "-o"}},
    {"chart", {"FILE", "-o", "--size"}},
    {"mesh", {"FILE"}},
    {"import", {"IMG", "-o"}},
    {"record",
     {"-o", "--frames", "--detect", "--pipe", "--pulse", "--device-library", "--simulate",
      "--wait-seconds"}},
    {"probe-status", {"HEX128"}},
    {"render3d", {"FILE", "--viewpoint", "-o", "--frame", "--size", "--wireframe"}},
    {"report", {"FILE", "-o", "--grades", "--survey-date", "--company"}},
    {"video", {"FILE", "-o", "--texts", "--size", "--fps"}},
    {"batch-report",
     {"SURVEY", "-o", "--jobs", "--format", "--grades", "--survey-date", "--company"}},
};

} // namespace

TEST_F(Cli, HelpListsEveryCommandWithASummary)
{
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(contains(help.out, "Usage: tessiq-cli [OPTIONS] COMMAND\n")) << help.out;
    EXPECT_TRUE(contains(help.out, "\nCommands:\n")) << help.out;
    EXPECT_TRUE(contains(help.out, "  palette                     the 256 palette colours as "
                                   "RRGGBB lines\n"))
        << help.out;
    EXPECT_TRUE(contains(help.out, "Exit status: 0 on success, 1 on failure, 2 on bad usage."));
    for (const std::string &command : CommandNames)
        EXPECT_TRUE(contains(help.out, "\n  " + command + " ")) << command;

    // "help" and -h ask for the same.
    EXPECT_EQ(run({"help"}).out, help.out);
    EXPECT_EQ(run({"-h"}).out, help.out);
}

TEST_F(Cli, EachCommandHasItsOwnHelp)
{
    ASSERT_EQ(CommandOptions.size(), CommandNames.size());
    for (const auto &[command, options] : CommandOptions) {
        const CliRun help = run({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.err, "") << command;
        EXPECT_TRUE(contains(help.out, "Usage: tessiq-cli " + command + " ")) << help.out;
        for (const std::string &option : options)
            EXPECT_TRUE(contains(help.out, "  " + option)) << command << " " << option;
    }
}

TEST_F(Cli, CommandHelpExplainsTheOptions)
{
    const CliRun help = run({"render3d", "--help"});
    ASSERT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "0 outside, 1 inside, 2 far, 3 centre")) << help.out;
    EXPECT_TRUE(contains(help.out, "drawn\nwith OpenGL through EGL: no display is needed."))
        << help.out;
    // Help is given though the required options are missing.
    const CliRun partial = run({"render3d", "x.Imv", "--help"});
    EXPECT_EQ(partial.status, 0);
    EXPECT_EQ(partial.out, help.out);
}

TEST_F(Cli, AnOptionOutOfRangeIsBadUsage)
{
    const CliRun r = run({"palette", "--colours", "300"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, "tessiq-cli palette: --colours")) << r.err;
    EXPECT_TRUE(contains(r.err, "Usage: tessiq-cli palette [OPTIONS]\n")) << r.err;
    EXPECT_TRUE(contains(r.err, "Run 'tessiq-cli palette --help' for more information.\n"));

    const CliRun viewpoint = run({"render3d", "x.Imv", "--viewpoint", "4", "-o", "x.bmp"});
    EXPECT_EQ(viewpoint.status, 2);
    EXPECT_TRUE(contains(viewpoint.err, "tessiq-cli render3d: --viewpoint")) << viewpoint.err;

    const CliRun pulse =
        run({"record", "--simulate", "-o", "x.Imv", "--frames", "1", "--pulse", "9"});
    EXPECT_EQ(pulse.status, 2);
    EXPECT_TRUE(contains(pulse.err, "one of 4, 8, 12, 16, 20")) << pulse.err;
}

TEST_F(Cli, AMissingRequiredOptionIsBadUsage)
{
    const CliRun frames = run({"simulate", "-o", dir.file("x.Imv")});
    EXPECT_EQ(frames.status, 2);
    EXPECT_TRUE(contains(frames.err, "tessiq-cli simulate: --frames is required")) << frames.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.Imv")));

    const CliRun value = run({"apply", "x.Imv", "--kind", "1"});
    EXPECT_EQ(value.status, 2);
    EXPECT_TRUE(contains(value.err, "--value is required")) << value.err;

    const CliRun file = run({"info"});
    EXPECT_EQ(file.status, 2);
    EXPECT_TRUE(contains(file.err, "FILE is required")) << file.err;
}

TEST_F(Cli, AnUnknownCommandOrNoneIsBadUsage)
{
    const CliRun unknown = run({"explode", "x.Imv"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_TRUE(contains(unknown.err, "tessiq-cli: unknown command 'explode'\n")) << unknown.err;
    EXPECT_TRUE(contains(unknown.err, "Run 'tessiq-cli --help' for more information.\n"));

    const CliRun none = run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(contains(none.err, "Run 'tessiq-cli --help'")) << none.err;
}

TEST_F(Cli, WholeNumbersAreDecimal)
{
    const std::string survey = dir.file("s.Imv");
    ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "9"}).status, 0);
    // 010 is ten, past the last frame, 8; taken as octal it would be 8.
    const CliRun r = run({"profile", survey, "--frame", "010"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "tessiq-cli profile: the survey has frames 0 to 8\n")) << r.err;
    EXPECT_EQ(run({"profile", survey, "--frame", "08"}).status, 0);
    EXPECT_EQ(run({"profile", survey, "--frame", "0x1"}).status, 2);
}

TEST(CliManPage, HoldsEveryCommand)
{
    const std::string page = slurp(TESSIQ_CLI_MAN_PAGE);
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.rfind(".TH TESSIQ\\-CLI 1 ", 0), 0u) << page.substr(0, 80);
    EXPECT_TRUE(contains(page, "\n.SH NAME\ntessiq\\-cli \\- ")) << page;
    for (const std::string &command : CommandNames) {
        std::string escaped;
        for (char c : command)
            escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_TRUE(contains(page, "\n.SS " + escaped + "\n")) << command;
        EXPECT_TRUE(contains(page, "Usage: tessiq\\-cli " + escaped + " ")) << command;
    }
}
