#include "DocxTestFiles.h"
#include "core/export/OfficeConverter.h"
#include "core/export/WordProcessor.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

const std::string ChineseTemplate = std::string(DORVANE_REPORT_TEMPLATE_DIR) + "/doc.templ";
const std::string EnglishTemplate = std::string(DORVANE_REPORT_TEMPLATE_DIR) + "/doc-en.templ";

// An environment variable set for the test's duration.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::string &value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

std::string outputOf(const std::string &command)
{
    std::string text;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, got);
    ::pclose(pipe);
    return text;
}

size_t linesIn(const std::string &text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A stand-in for LibreOffice: a shell script named soffice in folder.
void writeFakeOffice(const fs::path &folder, const std::string &body)
{
    fs::create_directories(folder);
    const std::string path = (folder / "soffice").string();
    const std::string script = "#!/bin/sh\n" + body + "\n";
    writeFileBytes(path, std::vector<uint8_t>(script.begin(), script.end()));
    ::chmod(path.c_str(), 0755);
}

// Fills the English template's place, pipe information and three pictures
// of different colours.
void fillReport(WordDocument &document)
{
    auto marks = document.bookmarks();
    ASSERT_NE(marks, nullptr);
    auto table = [&](const char *name) { return marks->item(name)->range()->tables()->item(1); };
    auto picture = [&](WordTable &in, int row, int column, uint32_t colour, float size) {
        const RgbPicture picture =
            rgbPicture(60, 40, [&](int x, int) { return x < 30 ? colour : 0xFFFFFFu; });
        auto shape = in.cell(row, column)->range()->inlineShapes()->addPicture(picture);
        ASSERT_NE(shape, nullptr);
        EXPECT_TRUE(shape->setWidth(size * 1.5f));
        EXPECT_TRUE(shape->setHeight(size));
    };
    EXPECT_TRUE(table("tblProj")->cell(2, 2)->range()->setText("Harbour Road 12"));
    auto info = table("tblPipeInfo");
    EXPECT_TRUE(info->cell(2, 1)->range()->setText("Y12-Y13"));
    EXPECT_TRUE(info->cell(2, 2)->range()->setText("50.0 m"));
    EXPECT_TRUE(info->cell(2, 3)->range()->setText("23.4%"));
    picture(*table("tblMud"), 7, 1, 0xFF0000, 300);
    picture(*table("tblPipe3D"), 1, 1, 0x00FF00, 130);
    picture(*table("tblSonarPic"), 1, 1, 0x0000FF, 90);
}

} // namespace

TEST(OfficeConversion, WithoutLibreOfficeOnlyDocxCanBeWritten)
{
    TempDir dir;
    const ScopedEnv path("PATH", dir.path().string());
    EXPECT_EQ(startWordProcessor(dir.file("r.pdf")), nullptr);
    EXPECT_EQ(startWordProcessor(dir.file("r.doc")), nullptr);
    EXPECT_EQ(startWordProcessor(dir.file("r.DOC")), nullptr);
    auto app = startWordProcessor(dir.file("r.docx"));
    ASSERT_NE(app, nullptr);
    auto document = app->documents()->add(EnglishTemplate);
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->saveAs(dir.file("r.docx")));
    EXPECT_FALSE(document->saveAs(dir.file("r.doc")));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"r.docx"});
}

TEST(OfficeConversion, ALibreOfficeThatLeavesNoFileFails)
{
    TempDir dir;
    const fs::path bin = dir.path() / "bin";
    const fs::path temporary = dir.path() / "tmp";
    fs::create_directory(temporary);
    const ScopedEnv tmp("TMPDIR", temporary.string());
    // The stand-in comes first; the shell's tools are found after it.
    const ScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    const std::string output = dir.file("r.pdf");

    // It exits 0 whatever happened; the file is what counts.
    writeFakeOffice(bin, "exit 0");
    auto app = startWordProcessor(output);
    ASSERT_NE(app, nullptr);
    auto document = app->documents()->add(EnglishTemplate);
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->saveAs(output));
    EXPECT_EQ(document->saveError(), 0); // LibreOffice's failure, not the system's
    EXPECT_FALSE(fs::exists(output));

    // A file that is not a PDF, found by the arguments LibreOffice is given.
    writeFakeOffice(bin,
                    "while [ \"$1\" != --outdir ]; do shift; done\n"
                    "mkdir -p \"$2\" && echo this is not a PDF file > \"$2/report.pdf\"\nexit 0");
    EXPECT_FALSE(document->saveAs(output));
    EXPECT_FALSE(fs::exists(output));
    // The same made into a PDF is taken.
    writeFakeOffice(bin, "while [ \"$1\" != --outdir ]; do shift; done\n"
                         "mkdir -p \"$2\" && echo %PDF-1.7 fake > \"$2/report.pdf\"\nexit 1");
    EXPECT_TRUE(document->saveAs(output));
    EXPECT_EQ(readFileBytes(output).size(), 14u); // "%PDF-1.7 fake\n"
    // A converted report that cannot be put in place says why.
    EXPECT_FALSE(document->saveAs(dir.file("absent/r.pdf")));
    EXPECT_EQ(document->saveError(), ENOENT);
    // Each conversion's private folder is gone afterwards.
    EXPECT_TRUE(namesIn(temporary).empty());
}

TEST(OfficeConversion, ALibreOfficeThatHangsIsStopped)
{
    TempDir dir;
    const fs::path bin = dir.path() / "bin";
    writeFakeOffice(bin, "sleep 60");
    const OfficeConverter converter((bin / "soffice").string());
    const auto started = std::chrono::steady_clock::now();
    int error = -1;
    EXPECT_FALSE(converter.convert({'P', 'K'}, ReportFormat::Pdf, dir.file("r.pdf"), error,
                                   std::chrono::seconds(1)));
    EXPECT_EQ(error, 0); // LibreOffice's failure, not the system's
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"bin"});
}

TEST(OfficeConversion, WritesPdfAndDocThroughLibreOffice)
{
    if (!OfficeConverter::find())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    if (outputOf("command -v pdftotext pdfimages").empty())
        GTEST_SKIP() << "poppler-utils are not installed";
    TempDir dir;
    const fs::path temporary = dir.path() / "tmp";
    fs::create_directory(temporary);
    const ScopedEnv tmp("TMPDIR", temporary.string());

    const std::string pdf = dir.file("report.pdf");
    auto app = startWordProcessor(pdf);
    ASSERT_NE(app, nullptr);
    auto document = app->documents()->add(EnglishTemplate);
    ASSERT_NE(document, nullptr);
    fillReport(*document);
    ASSERT_TRUE(document->saveAs(pdf));
    const std::string doc = dir.file("report.doc");
    ASSERT_TRUE(document->saveAs(doc));
    EXPECT_TRUE(document->close());
    EXPECT_TRUE(app->quit());

    const std::string text = outputOf("pdftotext -layout '" + pdf + "' -");
    for (const char *expected : {"Sonar Pipe Survey Report", "Survey place", "Harbour Road 12",
                                 "Y12-Y13", "50.0 m", "23.4%", ">70.4%", "Centre view"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    // A header of two lines, then one line a picture.
    const std::string images = outputOf("pdfimages -list '" + pdf + "'");
    EXPECT_EQ(linesIn(images), 2u + 3u) << images;

    const auto bytes = readFileBytes(doc);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1}));
    EXPECT_TRUE(namesIn(temporary).empty());
}

TEST(OfficeConversion, TheChineseTemplateKeepsItsText)
{
    if (!OfficeConverter::find())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    if (outputOf("command -v pdftotext").empty())
        GTEST_SKIP() << "poppler-utils are not installed";
    TempDir dir;
    const std::string pdf = dir.file("报告.pdf");
    auto app = startWordProcessor(pdf);
    ASSERT_NE(app, nullptr);
    auto document = app->documents()->add(ChineseTemplate);
    ASSERT_NE(document, nullptr);
    auto place = document->bookmarks()->item("tblProj")->range()->tables()->item(1)->cell(2, 2);
    EXPECT_TRUE(place->range()->setText("武汉市解放大道"));
    ASSERT_TRUE(document->saveAs(pdf));
    const std::string text = outputOf("pdftotext '" + pdf + "' -");
    for (const char *expected : {"管道声纳检测报告", "武汉市解放大道", "淤积统计", "10.5-30.4%"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}
