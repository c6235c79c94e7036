#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "ui/app/ExportCommands.h"

#include <QTest>
#include <filesystem>
#include <sys/stat.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

// The report's dialog and the checks before any picture is made; the
// report itself needs OpenGL (gl-tests).
class ReportWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        oldPath = qgetenv("PATH");
        window->toolPanel().exports().setFileOpener([this](const QString &path) {
            opened.push_back(path);
            return true;
        });
    }
    void TearDown() override
    {
        qputenv("PATH", oldPath);
        MainWindowTest::TearDown();
    }

    // PATH holds only a folder, with or without a stand-in for LibreOffice.
    void onlyOnPath(bool withOffice)
    {
        const std::string bin = dir.file(withOffice ? "office" : "empty");
        fs::create_directory(bin);
        if (withOffice) {
            writeFileBytes(bin + "/soffice", bytesOf("#!/bin/sh\nexit 1\n"));
            ::chmod((bin + "/soffice").c_str(), 0755);
        }
        qputenv("PATH", QByteArray::fromStdString(bin));
    }

    void clickReport() { QTest::mouseClick(child<QToolButton>("reportButton"), Qt::LeftButton); }

    QByteArray oldPath;
    QStringList opened;
};

TEST_F(ReportWindowTest, WithoutLibreOfficeTheDialogOffersDocxFirst)
{
    open(survey(3));
    onlyOnPath(false);
    clickReport(); // the dialog is cancelled
    const UserPrompts::FileDialog &dialog = prompts.lastSaveDialog;
    // In the program's language (the built-in one here).
    EXPECT_EQ(dialog.title, "生成报表");
    EXPECT_EQ(dialog.filter, "Word 文档 (*.docx);;Word 97 文档 (*.doc);;PDF 文档 (*.pdf)");
    EXPECT_EQ(dialog.defaultSuffix, "docx");
    EXPECT_TRUE(dialog.fileName.endsWith(".docx")) << dialog.fileName.toStdString();
    EXPECT_TRUE(prompts.messages.empty());

    onlyOnPath(true);
    clickReport();
    EXPECT_EQ(dialog.filter, "Word 97 文档 (*.doc);;Word 文档 (*.docx);;PDF 文档 (*.pdf)");
    EXPECT_EQ(dialog.defaultSuffix, "doc");
    EXPECT_TRUE(dialog.fileName.endsWith(".doc")) << dialog.fileName.toStdString();
}

TEST_F(ReportWindowTest, TheReportIsNeverWrittenOverTheOpenSurvey)
{
    // A survey whose name ends as a report's does.
    const std::string path = dir.file("survey.docx");
    fs::rename(survey(4), path);
    const std::vector<uint8_t> before = readFileBytes(path);
    const std::string link = dir.file("link.docx");
    fs::create_symlink(path, link);
    const std::string hard = dir.file("hard.docx");
    fs::create_hard_link(path, hard);
    open(path);
    fs::create_directory(dir.file("sub"));
    for (const std::string &output : {path, dir.file("sub/../survey.docx"), link, hard}) {
        prompts.messages.clear();
        prompts.nextSaveFile = QString::fromStdString(output);
        clickReport();
        EXPECT_EQ(prompts.messages, std::vector<int>{text::CannotSaveOverOpenFile}) << output;
        EXPECT_TRUE(readFileBytes(path) == before) << output;
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(session().isOpen());
}

} // namespace
