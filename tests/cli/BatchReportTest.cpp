#include "CliRunner.h"
#include "DocxTestFiles.h"
#include "core/document/AnimationDocument.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <thread>
#include <unistd.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

namespace fs = std::filesystem;

class BatchReport : public Cli
{
protected:
    void SetUp() override { fs::create_directories(dir.path() / "in" / "sub"); }

    std::string survey(const std::string &name, int frames, uint64_t seed)
    {
        const std::string path = dir.file("in/" + name);
        writeSurvey(path, frames, seed);
        return path;
    }

    static void setPlace(const std::string &path, const std::string &place,
                         const std::string &start, const std::string &end)
    {
        SilentMessageSink silent;
        AnimationDocument document(silent);
        ASSERT_TRUE(document.open(path, nullptr));
        document.editFileHeader([&](AnimationFileHeader &h) {
            h.setPlace(place);
            h.setStartWell(start);
            h.setEndWell(end);
        });
        ASSERT_TRUE(document.loadFrame(0, false));
        ASSERT_TRUE(document.saveCurrent());
    }

    std::vector<std::string> csvLines(const std::string &path)
    {
        std::vector<std::string> rows;
        const std::string text = slurp(path);
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            rows.push_back(text.substr(at, end - at));
        return rows;
    }
};

TEST_F(BatchReport, WritesTheReadableSurveysAndTellsTheUnreadableOne)
{
    const std::string a = survey("a.Imv", 6, 1);
    const std::string b = survey("sub/b.IMV", 6, 2);
    setPlace(a, "Main St", "Y1", "Y2");
    setPlace(b, "Main St", "Y1", "Y2");
    const std::string x = dir.file("in/x.Imv");
    std::vector<uint8_t> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 7919 % 251);
    writeFileBytes(x, noise);
    const std::string out = dir.file("out");
    fs::create_directory(out);
    writeFileBytes(out + "/Main St Y1-Y2.docx", bytesOf("someone else's"));

    const CliRun r = run({"batch-report", dir.file("in"), a, "-o", out, "--jobs", "2",
                          "--survey-date", "2026-12-09", "--company", "Dorvane 检测"});
    EXPECT_EQ(r.status, 1) << r.err;
    const std::string first = out + "/Main St Y1-Y2 (2).docx";
    const std::string second = out + "/Main St Y1-Y2 (3).docx";
    std::vector<std::string> told = lines(r.out);
    ASSERT_EQ(told.size(), 4u) << r.out;
    EXPECT_EQ(told.back(),
              "summary\t" + out + "/project-summary.csv\t" + out + "/project-summary.docx");
    told.pop_back();
    std::sort(told.begin(), told.end());
    EXPECT_EQ(told[0].rfind("failed\t" + x + "\t", 0), 0u) << told[0];
    EXPECT_GT(told[0].size(), ("failed\t" + x + "\t").size());
    EXPECT_EQ(told[1], "ok\t" + a + "\t" + first);
    EXPECT_EQ(told[2], "ok\t" + b + "\t" + second);
    EXPECT_NE(r.err.find(x + ": failed: "), std::string::npos) << r.err;

    DocxXml report;
    ASSERT_TRUE(loadDocx(second, report));
    EXPECT_EQ(textOf(cellAt(report.tables[Proj], 2, 2)), "Main St");
    EXPECT_EQ(textOf(cellAt(report.tables[Proj], 3, 2)), "2026-12-09");
    EXPECT_EQ(textOf(cellAt(report.tables[Proj], 4, 2)), "Dorvane 检测");

    const std::vector<std::string> csv = csvLines(out + "/project-summary.csv");
    ASSERT_EQ(csv.size(), 5u);
    EXPECT_EQ(csv[0], "file,place,wells,frames,surveyed_length_m,average_sediment_pct,"
                      "max_sediment_depth_pct,worst_deposit_grade,worst_deformation_grade,"
                      "sediment_volume_m3,mean_capacity_loss_pct,max_capacity_loss_pct,report,"
                      "error");
    EXPECT_EQ(csv[1].rfind(a + ",Main St,Y1-Y2,6,", 0), 0u) << csv[1];
    EXPECT_EQ(csv[1].substr(csv[1].size() - 24), ",Main St Y1-Y2 (2).docx,");
    EXPECT_EQ(csv[2].rfind(b + ",Main St,Y1-Y2,6,", 0), 0u) << csv[2];
    EXPECT_EQ(csv[3].rfind(x + ",,,,,,,,,,,,,", 0), 0u) << csv[3];
    EXPECT_GT(csv[3].size(), (x + ",,,,,,,,,,,,,").size());
    EXPECT_EQ(csv[4], "total,,,12,0.99,,,,,0.014,,,sections per worst grade 0-4: 1 0 1 0 0,");

    DocxXml summary;
    ASSERT_TRUE(loadDocx(out + "/project-summary.docx", summary));
    ASSERT_EQ(summary.tables.size(), 1u);
    ASSERT_EQ(rowCount(summary.tables[0]), 5u);
    EXPECT_EQ(textOf(cellAt(summary.tables[0], 1, 1)), "文件");
    EXPECT_EQ(textOf(cellAt(summary.tables[0], 2, 13)), "Main St Y1-Y2 (2).docx");
    EXPECT_EQ(textOf(cellAt(summary.tables[0], 5, 1)), "合计");
    EXPECT_EQ(textOf(cellAt(summary.tables[0], 5, 4)), "12");

    EXPECT_EQ(run({"batch-report", dir.file("missing"), "-o", out}).status, 2);
}

TEST_F(BatchReport, NamesAreFitForAFolder)
{
    setPlace(survey("c.Imv", 3, 1), "", "", "");
    setPlace(survey("d.img.Imv", 3, 2), "Elm/Rd\x01", "W1", "");
    setPlace(survey("e.Imv", 3, 3), ".hidden", "", "");
    const std::string out = dir.file("out");
    const CliRun r = run({"batch-report", dir.file("in"), "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(namesIn(out),
              (std::vector<std::string>{"Elm_Rd_ W1-.docx", "_hidden.docx", "c.docx",
                                        "project-summary.csv", "project-summary.docx"}));
}

TEST_F(BatchReport, ACancelledBatchLeavesOnlyWholeReports)
{
    for (int i = 0; i < 10; ++i)
        survey("s" + std::to_string(i) + ".Imv", 60, static_cast<uint64_t>(i + 1));
    const std::string out = dir.file("out");
    const std::string told = dir.file("told.txt");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int fd = ::open(told.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        execl(TESSIQ_CLI_PATH, "tessiq-cli", "batch-report", dir.file("in").c_str(), "-o",
              out.c_str(), "--jobs", "2", nullptr);
        _exit(127);
    }
    // Cancelled once the first report is in, while the next ones are written.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (slurp(told).find('\n') == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;

    const std::vector<std::string> okLines = lines(slurp(told));
    ASSERT_GE(okLines.size(), 1u);
    EXPECT_LT(okLines.size(), 10u);
    const std::vector<std::string> left = namesIn(out);
    EXPECT_EQ(left.size(), okLines.size());
    for (const std::string &name : left) {
        EXPECT_EQ(fs::path(name).extension(), ".docx") << name;
        EXPECT_TRUE(readZip(out + "/" + name).contains("word/document.xml")) << name;
    }
}

} // namespace
