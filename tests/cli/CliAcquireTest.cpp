#include "CliRunner.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/base/ByteOrder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

bool contains(const std::string &text, const std::string &piece)
{
    return text.find(piece) != std::string::npos;
}

std::string programFolderOf(const std::string &program)
{
    return std::filesystem::path(program).parent_path().string() + "/";
}

// A simulator that is there at once and quick, for the shell before the tool.
const std::string FastSimulator =
    "export TESSIQ_SIM_DEVICE_DELAY=0 TESSIQ_SIM_RATE=200; "
    "unset TESSIQ_SIM_REFUSE TESSIQ_SIM_UNMARKED TESSIQ_DEVICE_LIBRARY";

class CliAcquire : public Cli
{
protected:
    CliRun record(const std::string &setup, const std::vector<std::string> &args)
    {
        std::vector<std::string> command{"record"};
        command.insert(command.end(), args.begin(), args.end());
        return runWith(setup.empty() ? FastSimulator : FastSimulator + "; " + setup, command,
                       dir.file("stdout.txt"));
    }
};

} // namespace

TEST_F(CliAcquire, ImportWritesTheImagesInTheOrderGiven)
{
    writeFileBytes(dir.file("a.img"), makeImgFile(187, 1.5f, 11));
    writeFileBytes(dir.file("b.img"), makeImgFile(250, 0.5f, 22));
    writeFileBytes(dir.file("c.img"), makeImgFile(1000, 9.0f, 33));
    const std::string out = dir.file("out.Imv");
    const CliRun r =
        run({"import", dir.file("b.img"), dir.file("c.img"), dir.file("a.img"), "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const auto bytes = readFileBytes(out);
    ASSERT_EQ(bytes.size(), 1024u + 3u * 100512u);
    EXPECT_EQ(le::readF32(&bytes[1024 + 24]), 0.5f);
    EXPECT_EQ(le::readF32(&bytes[1024 + 100512 + 24]), 9.0f);
    EXPECT_EQ(le::readF32(&bytes[1024 + 2 * 100512 + 24]), 1.5f);
    EXPECT_EQ(bytes[1024 + 2 * 100512 + 512], 11);
}

TEST_F(CliAcquire, ImportNamesTheFileItStoppedAt)
{
    writeFileBytes(dir.file("a.img"), makeImgFile(187, 1.5f, 11));
    writeSurvey(dir.file("survey.Imv"), 1);
    const std::string out = dir.file("out.Imv");
    const CliRun r = run({"import", dir.file("a.img"), dir.file("survey.Imv"), "-o", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "IMG文件错误\n")) << r.err;
    EXPECT_TRUE(contains(r.err, "stopped at " + dir.file("survey.Imv") + " (item 2)")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    EXPECT_EQ(run({"import", "-o", out}).status, 2);
}

// An output that is one of the inputs, by any name, would replace it.
TEST_F(CliAcquire, ImportRefusesToWriteOverOneOfItsImages)
{
    const std::string a = dir.file("a.img"), b = dir.file("b.img");
    writeFileBytes(a, makeImgFile(187, 1.5f, 11));
    writeFileBytes(b, makeImgFile(250, 0.5f, 22));
    std::filesystem::create_symlink(b, dir.file("link.img"));
    std::filesystem::create_hard_link(b, dir.file("hard.img"));
    const auto before = readFileBytes(b);
    for (const std::string &out : {b, dir.file("link.img"), dir.file("hard.img")}) {
        const CliRun r = run({"import", a, b, "-o", out});
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_EQ(r.err, "不能将数据另存到当前打开的动画文件\n") << out;
    }
    EXPECT_EQ(readFileBytes(b), before);
}

TEST_F(CliAcquire, RecordTakesFramesFromTheSimulatorBesideTheProgram)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r =
        record("", {"--simulate", "-o", out, "--frames", "5", "--detect", "250", "--pipe", "120"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "device library: " + programFolderOf(TESSIQ_CLI_PATH) +
                                    "libprobe-sim.so (probe simulator)\n"))
        << r.err;
    EXPECT_EQ(r.out, "");
    // Exactly the frames asked for, one after another from the first.
    const auto bytes = readFileBytes(out);
    ASSERT_EQ(bytes.size(), 1024u + 5u * 100512u);
    for (size_t i = 0; i < 5; ++i) {
        const size_t at = 1024 + i * 100512;
        EXPECT_EQ(simulatedFrameNumber(&bytes[at + 512]), i);
        EXPECT_EQ(le::readU16(&bytes[at]), 73);
        EXPECT_EQ(le::readU16(&bytes[at + 16]), 250); // detection radius
        EXPECT_EQ(le::readU16(&bytes[at + 8]), 120);  // pipe radius
        EXPECT_EQ(le::readU16(&bytes[at + 12]), 20);  // error rate
    }
}

TEST_F(CliAcquire, RecordWaitsForTheDeviceAndThroughAChosenLibrary)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r = record("export TESSIQ_SIM_DEVICE_DELAY=300",
                            {"--device-library", PROBE_SIM_PATH, "-o", out, "--frames", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, std::string("device library: ") + PROBE_SIM_PATH)) << r.err;
    EXPECT_TRUE(contains(r.err, "正在等待设备连接\n")) << r.err;
    EXPECT_EQ(readFileBytes(out).size(), 1024u + 2u * 100512u);
}

TEST_F(CliAcquire, RecordGivesUpWhenNoDeviceComes)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r = record("export TESSIQ_SIM_DEVICE_DELAY=60000",
                            {"--simulate", "-o", out, "--frames", "2", "--wait-seconds", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "no device within 1 s")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliAcquire, RecordWithoutTheDeviceLibraryNeverTakesTheSimulator)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r = record("", {"-o", out, "--frames", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "device library: " + programFolderOf(TESSIQ_CLI_PATH) +
                         "libUsbDll.so\n无法加载系统DLL,请重新安装软件\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    // TESSIQ_DEVICE_LIBRARY names another.
    const CliRun named = record("export TESSIQ_DEVICE_LIBRARY=" + dir.file("libUsbDll.so"),
                                {"-o", out, "--frames", "2"});
    EXPECT_EQ(named.status, 1);
    EXPECT_TRUE(contains(named.err, "device library: " + dir.file("libUsbDll.so") + "\n"));
}

TEST_F(CliAcquire, RecordStopsWhenTheProbeRefusesToStart)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r =
        record("export TESSIQ_SIM_REFUSE=3D", {"--simulate", "-o", out, "--frames", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "发送启动探头命令失败\n")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliAcquire, RecordTellsARefusedSettingAndGoesOn)
{
    const std::string out = dir.file("live.Imv");
    const CliRun r =
        record("export TESSIQ_SIM_REFUSE=5C,26",
               {"--simulate", "-o", out, "--frames", "1", "--detect", "500", "--pulse", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "设置探测半径失败\n")) << r.err;
    EXPECT_TRUE(contains(r.err, "设置脉宽失败\n")) << r.err;
    // The radius chosen is stamped all the same.
    const auto bytes = readFileBytes(out);
    ASSERT_EQ(bytes.size(), 1024u + 100512u);
    EXPECT_EQ(le::readU16(&bytes[1024 + 16]), 500);
}

TEST_F(CliAcquire, RecordChecksItsOptions)
{
    const std::string out = dir.file("live.Imv");
    EXPECT_EQ(record("", {"--simulate", "-o", out, "--frames", "2", "--detect", "188"}).status, 2);
    EXPECT_EQ(record("", {"--simulate", "-o", out, "--frames", "2", "--pulse", "10"}).status, 2);
    EXPECT_EQ(record("", {"--simulate", "-o", out}).status, 2);
    EXPECT_EQ(
        record("", {"--simulate", "--device-library", "x.so", "-o", out, "--frames", "2"}).status,
        2);
    const CliRun zero = record("", {"--simulate", "-o", out, "--frames", "2", "--pipe", "0"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.err, "请输入正确的管道半径值\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliAcquire, ProbeStatusDecodesARecord)
{
    // 55 3C, "T190R44C3F50B4", twelve "0", '@' and "000200", zeros.
    const std::string record = "553C"
                               "5431393052343443334635304234" // "T190R44C3F50B4"
                               "303030303030303030303030"
                               "40303030323030" +
                               std::string(58, '0');
    ASSERT_EQ(record.size(), 128u);
    const CliRun r = run({"probe-status", record});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "tilt_deg: 10\n"
                     "roll_deg: 30\n"
                     "pressure: 1013\n"
                     "temperature: 180\n"
                     "distance_m: 1\n"
                     "marker_valid: yes\n");
}

TEST_F(CliAcquire, ProbeStatusReadsWhatTheRecordHolds)
{
    // No marker, tilt 0x800, lower-case digits, a negative sign and a
    // counter that stops at a letter.
    const std::string record = "0000"
                               "54383030"     // "T800"
                               "52306666"     // "R0ff"
                               "303030303030" // pressure, temperature
                               "303030303030303030303030"
                               "2D30303031324130" + // '-' "00012A" ...
                               std::string(56, '0');
    ASSERT_EQ(record.size(), 128u);
    const CliRun r = run({"probe-status", record});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "tilt_deg: -56.257431\n" // 50 + 147 x 0.04256757 as a float
                     "roll_deg: 6.375\n"
                     "pressure: 0\n"
                     "temperature: 0\n"
                     "distance_m: -0.0599999987\n"
                     "marker_valid: no\n");

    EXPECT_EQ(run({"probe-status", "553C"}).status, 2);
    EXPECT_EQ(run({"probe-status", std::string(127, '0') + "G"}).status, 2);
    EXPECT_EQ(run({"probe-status", "-1" + std::string(126, '0')}).status, 2);
}
