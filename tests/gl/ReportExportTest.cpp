#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "ui/app/ExportCommands.h"

#include <QRegularExpression>
#include <QTest>
#include <cstdlib>
#include <filesystem>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// The report from the toolbar of a real window; its 3D pictures need OpenGL.
class ReportExportTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The export's private folders go here, to see that none is left.
        std::filesystem::create_directory(temp());
        hadTmp = qEnvironmentVariableIsSet("TMPDIR");
        oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QByteArray::fromStdString(temp()));
        window->toolPanel().exports().setFileOpener(
            [this](const QString &path) { opened.push_back(path); });
    }
    void TearDown() override
    {
        if (hadTmp)
            qputenv("TMPDIR", oldTmp);
        else
            qunsetenv("TMPDIR");
        MainWindowTest::TearDown();
    }
    std::string temp() { return dir.file("tmp"); }

    std::string markedSurvey(int frames, std::initializer_list<int> marked)
    {
        const std::string path = survey(frames);
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

    void clickReport() { QTest::mouseClick(child<QToolButton>("reportButton"), Qt::LeftButton); }

    bool hadTmp = false;
    QByteArray oldTmp;
    QStringList opened;
};

TEST_F(ReportExportTest, AWrittenReportIsOpenedAndNothingIsLeftBehind)
{
    open(markedSurvey(8, {2, 5}));
    goTo(6);
    const std::string path = dir.file("report.docx");
    prompts.nextSaveFile = QString::fromStdString(path);
    clickReport();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d{1,2}-\d{1,2} \d{6}\.docx?$)")
                    .match(prompts.lastSaveDialog.fileName)
                    .hasMatch())
        << prompts.lastSaveDialog.fileName.toStdString();
    const auto bytes = readFileBytes(path);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes[0], 'P'); // a zip package
    EXPECT_EQ(bytes[1], 'K');
    EXPECT_EQ(opened, QStringList{QString::fromStdString(path)});
    EXPECT_EQ(session().currentIndex(), 6);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(std::filesystem::is_empty(temp()));
}

TEST_F(ReportExportTest, WithoutAWordProcessorTheReportIsNeitherWrittenNorOpened)
{
    open(markedSurvey(4, {1}));
    const std::string path = dir.file("report.pdf");
    prompts.nextSaveFile = QString::fromStdString(path);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(dir.file("no-programs-here")));
    clickReport();
    qputenv("PATH", oldPath);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::WordMissing});
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(temp()));
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ReportExportTest, AReportThatCannotBeSavedIsToldAndNotOpened)
{
    open(markedSurvey(4, {}));
    const std::string path = dir.file("missing/report.docx");
    prompts.nextSaveFile = QString::fromStdString(path);
    clickReport();
    EXPECT_EQ(prompts.messages, std::vector<int>{text::ReportError});
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(temp()));
}

} // namespace
