#include "CliRunner.h"
#include "DocxTestFiles.h"
#include "core/base/GbkText.h"
#include "core/base/MessageSink.h"
#include "core/data/AnimationFile.h"
#include "core/document/AnimationDocument.h"

#include <cstdio>
#include <filesystem>

using namespace dorvane;
using namespace dorvane::test;

namespace {

std::string output(const std::string &command)
{
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

bool hasProgram(const std::string &name)
{
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

class ReportCommand : public Cli
{
protected:
    // A simulated survey with the given frames marked for the report.
    std::string survey(int frames, std::initializer_list<int> marked)
    {
        const std::string path = dir.file("s.Imv");
        EXPECT_EQ(run({"simulate", "-o", path, "--frames", std::to_string(frames)}).status, 0);
        // The simulator marks frames of its own: only ours stay marked.
        EXPECT_EQ(run({"apply", path, "--kind", "0", "--value", "0"}).status, 0);
        AnimationFile file;
        EXPECT_TRUE(file.open(path));
        SilentMessageSink silent;
        for (int i : marked) {
            FrameHeader h;
            EXPECT_TRUE(file.readFrameHeader(i, h));
            h.reportShot = 1;
            EXPECT_TRUE(file.writeFrameHeader(i, h, silent));
        }
        return path;
    }
};

TEST_F(ReportCommand, TheReportOpensInLibreOfficeWithItsTablesFilled)
{
    if (!hasProgram("soffice") || !hasProgram("pdftotext") || !hasProgram("pdfimages"))
        GTEST_SKIP() << "LibreOffice and poppler-utils are needed (scripts/setup installs them)";
    const std::string path = survey(40, {3, 10, 17, 30});
    const std::string docx = dir.file("report.docx");
    const CliRun r = run({"report", path, "-o", docx});
    ASSERT_EQ(r.status, 0) << r.err;

    // LibreOffice reads what Word would: convert it and read the PDF.
    const std::string profile = dir.file("profile");
    const std::string convert = "cd '" + dir.path().string() +
                                "' && soffice -env:UserInstallation=file://" + profile +
                                " --headless --convert-to pdf report.docx >/dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const std::string pdf = dir.file("report.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    // Laid out text comes with spaces between the glyphs of a line.
    std::string text = output("pdftotext '" + pdf + "' -");
    std::erase(text, ' ');

    // The survey's place and wells as the simulator wrote them.
    SilentMessageSink silent;
    AnimationDocument document(silent);
    ASSERT_TRUE(document.open(path, nullptr));
    const AnimationFileHeader &header = document.fileHeader();
    const std::string place = gbkToUtf8(header.place());
    EXPECT_NE(text.find(place.substr(0, place.find(' '))), std::string::npos) << place << text;
    const std::string wells = std::string(header.startWell()) + "-" + std::string(header.endWell());
    EXPECT_NE(text.find(wells), std::string::npos) << text;
    EXPECT_NE(text.find("m"), std::string::npos);
    EXPECT_NE(text.find("%"), std::string::npos);

    // The chart, four 3D views, four marked frames and the condition chart.
    const std::string images = output("pdfimages -list '" + pdf + "' | tail -n +3 | wc -l");
    EXPECT_EQ(std::stoi(images), 10) << output("pdfimages -list '" + pdf + "'");
}

TEST_F(ReportCommand, ADocReportWithoutLibreOfficeIsRefusedAndLeavesNothing)
{
    const std::string path = survey(5, {1});
    const std::string doc = dir.file("report.doc");
    const CliRun r =
        runWith("PATH=" + dir.file("empty"), {"report", path, "-o", doc}, dir.file("out.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(doc));
    EXPECT_EQ(run({"report", path}).status, 2); // no output named
}

TEST_F(ReportCommand, ControlCharactersInThePlaceAndTheWellsAreLeftOut)
{
    const std::string path = survey(5, {1});
    {
        SilentMessageSink silent;
        AnimationDocument document(silent);
        ASSERT_TRUE(document.open(path, nullptr));
        document.editFileHeader([](AnimationFileHeader &h) {
            h.setPlace("Main\x01 St\x1F");
            h.setStartWell("Y\x02"
                           "1");
            h.setEndWell("Y2\x0B");
        });
        ASSERT_TRUE(document.loadFrame(0, false));
        ASSERT_TRUE(document.saveCurrent());
    }
    const std::string docx = dir.file("report.docx");
    const CliRun r = run({"report", path, "-o", docx});
    ASSERT_EQ(r.status, 0) << r.err;
    DocxXml report;
    ASSERT_TRUE(loadDocx(docx, report));
    ASSERT_GE(report.tables.size(), 6u);
    EXPECT_EQ(textOf(cellAt(report.tables[Proj], 2, 2)), "Main St");
    EXPECT_EQ(textOf(cellAt(report.tables[PipeInfo], 2, 1)), "Y1-Y2");
}

TEST_F(ReportCommand, TheReportIsNeverWrittenOverTheSurvey)
{
    // A survey whose name ends as a report's does.
    const std::string path = dir.file("s.docx");
    std::filesystem::rename(survey(3, {1}), path);
    const std::string before = slurp(path);
    std::filesystem::create_directory(dir.file("sub"));
    const std::string link = dir.file("link.docx");
    std::filesystem::create_symlink(path, link);
    const std::string hard = dir.file("hard.docx");
    std::filesystem::create_hard_link(path, hard);
    for (const std::string &output :
         {path, dir.file("sub/../s.docx"), dir.path().string() + "//s.docx", link, hard}) {
        const CliRun r = run({"report", path, "-o", output});
        EXPECT_EQ(r.status, 1) << output;
        EXPECT_NE(r.err.find("不能将数据另存到当前打开的动画文件"), std::string::npos) << r.err;
        EXPECT_TRUE(slurp(path) == before) << output;
    }
    // Through the link the other way round as well.
    EXPECT_EQ(run({"report", link, "-o", path}).status, 1);
    EXPECT_TRUE(slurp(path) == before);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::hard_link_count(path), 2u);
}

} // namespace

TEST_F(ReportCommand, TheConditionSectionAgreesWithAssess)
{
    const std::string path = survey(30, {5});
    const CliRun assess = run({"assess", path});
    ASSERT_EQ(assess.status, 0) << assess.err;
    const std::string docx = dir.file("report.docx");
    ASSERT_EQ(run({"report", path, "-o", docx}).status, 0);
    DocxXml report;
    ASSERT_TRUE(loadDocx(docx, report));

    // "assessed_length_m: 2.83838367" in the one, "2.84 m" in the other.
    const auto figure = [&](const std::string &name) {
        const size_t at = assess.out.find(name + ": ");
        return std::stod(assess.out.substr(at + name.size() + 2));
    };
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f m", figure("assessed_length_m"));
    EXPECT_EQ(textOf(cellAt(report.tables[Assess], 1, 2)), expected);
    std::snprintf(expected, sizeof expected, "%.3f m³", figure("sediment_volume_m3"));
    EXPECT_EQ(textOf(cellAt(report.tables[Assess], 2, 2)), expected);
    std::snprintf(expected, sizeof expected, "%.2f %%", figure("mean_capacity_loss_pct"));
    EXPECT_EQ(textOf(cellAt(report.tables[Assess], 3, 2)), expected);
    EXPECT_EQ(elementsNamed(cellAt(report.tables[Assess], 7, 1), "a:blip").size(), 1u);
    const size_t records = static_cast<size_t>(figure("records"));
    if (records == 0) {
        EXPECT_EQ(report.tables.size(), 6u);
        EXPECT_NE(report.parts["word/document.xml"].find("没有达到 1 级的缺陷。"),
                  std::string::npos);
    } else {
        ASSERT_EQ(report.tables.size(), 7u);
        EXPECT_EQ(rowCount(report.tables[Defects]), records + 1);
    }
}
