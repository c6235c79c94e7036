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
        window->toolPanel().exports().setFileOpener(
            [this](const QString &path) { opened.push_back(path); });
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
    EXPECT_EQ(dialog.filter, "docx File (*.docx);;doc File (*.doc);;PDF File (*.pdf)");
    EXPECT_EQ(dialog.defaultSuffix, "docx");
    EXPECT_TRUE(dialog.fileName.endsWith(".docx")) << dialog.fileName.toStdString();
    EXPECT_TRUE(prompts.messages.empty());

    onlyOnPath(true);
    clickReport();
    EXPECT_EQ(dialog.filter, "doc File (*.doc);;docx File (*.docx);;PDF File (*.pdf)");
    EXPECT_EQ(dialog.defaultSuffix, "doc");
    EXPECT_TRUE(dialog.fileName.endsWith(".doc")) << dialog.fileName.toStdString();
}

} // namespace
