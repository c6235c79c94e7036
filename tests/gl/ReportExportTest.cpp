#include "render/ReportExport.h"

#include "DocxTestFiles.h"
#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "core/export/ReportContent.h"
#include "render/PipeRenderer.h"
#include "render/ReportPictures.h"
#include "ui/app/ExportCommands.h"
#include "ui/display/FrameView.h"
#include "ui/view3d/PipeView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
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
        window->toolPanel().exports().setFileOpener([this](const QString &path) {
            opened.push_back(path);
            return true;
        });
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
    EXPECT_EQ(window->statusText(), "已保存到 " + QString::fromStdString(path));

    // Without a program for the file, the report stays and the path is told.
    window->toolPanel().exports().setFileOpener([](const QString &) { return false; });
    const std::string again = dir.file("again.docx");
    prompts.nextSaveFile = QString::fromStdString(again);
    clickReport();
    EXPECT_EQ(prompts.messages, std::vector<int>{text::NoViewer});
    EXPECT_EQ(prompts.details.back(), QString::fromStdString(again));
    EXPECT_TRUE(std::filesystem::exists(again));
}

TEST_F(ReportExportTest, TheSurveyDateAndCompanyOfThePipeAttributesPageFillTheirCells)
{
    QSettings().remove("report");
    const std::string path = markedSurvey(6, {4});
    const std::vector<uint8_t> before = readFileBytes(path);
    open(path);
    QTest::keyClicks(child<QLineEdit>("surveyDateEdit"), "2026-12-09");
    QTest::keyClicks(child<QLineEdit>("companyEdit"), "Dorvane ");
    // Typed as an input method gives it: the test's key table is ASCII only.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, "检测");
    QApplication::sendEvent(child<QLineEdit>("companyEdit"), &typed);
    // They are the program's, not the survey's: nothing waits to be saved,
    // and the next start shows them.
    EXPECT_FALSE(session().isModified());
    window = std::make_unique<MainWindow>(&prompts);
    window->toolPanel().exports().setFileOpener([](const QString &) { return true; });
    window->show();
    EXPECT_EQ(child<QLineEdit>("companyEdit")->text(), "Dorvane 检测");
    open(path);
    const std::string report = dir.file("report.docx");
    prompts.nextSaveFile = QString::fromStdString(report);
    clickReport();
    QSettings().remove("report");
    ASSERT_EQ(prompts.messages, std::vector<int>{});
    DocxXml docx;
    ASSERT_TRUE(loadDocx(report, docx));
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 3, 2)), "2026-12-09");
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 4, 2)), "Dorvane 检测");
    // The marked frame's picture above its caption, counted as the window
    // counts.
    const std::string caption = textOf(cellAt(docx.tables[SonarPic], 1, 1));
    EXPECT_EQ(caption.rfind("\n第 5 帧，电缆长度 ", 0), 0u) << caption;
    EXPECT_TRUE(readFileBytes(path) == before);
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
    EXPECT_EQ(prompts.details, QStringList{"No such file or directory"});
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(temp()));
}

} // namespace

namespace {

TEST_F(ReportExportTest, TheReportDrawsWithThe3dPageAndLeavesItAsItWas)
{
    open(markedSurvey(10, {4}));
    goTo(7);
    QTest::mouseClick(child<QToolButton>("view3dPageButton"), Qt::LeftButton);
    ASSERT_NE(window->currentPipeRenderer(), nullptr);
    PipeRenderer &renderer = *window->currentPipeRenderer();
    QTest::mouseClick(child<QToolButton>("turnRightButton"), Qt::LeftButton);
    QTest::keyClick(&window->pipeView(), Qt::Key_W);
    const float angle = renderer.camera().axisAngle();
    const glm::vec3 offset = renderer.camera().offset();

    // The same pictures as a report made without the 3D page.
    const std::string path = dir.file("report.docx");
    prompts.nextSaveFile = QString::fromStdString(path);
    clickReport();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(renderer.camera().axisAngle(), angle);
    EXPECT_EQ(renderer.camera().offset(), offset);
    EXPECT_EQ(renderer.highlight(), 7);
    EXPECT_FALSE(renderer.isSolid());
    EXPECT_EQ(window->currentPipeRenderer(), &renderer); // no second model was made

    // The 3D page's renderer draws the report's views as a fresh one would.
    SilentMessageSink silent;
    ReportContent shared;
    ReportContent own;
    ASSERT_TRUE(buildReportPictures(doc(), shared, nullptr, silent, &renderer));
    ASSERT_TRUE(buildReportPictures(doc(), own, nullptr, silent));
    EXPECT_TRUE(shared.pipeViews.centre == own.pipeViews.centre);
    EXPECT_TRUE(shared.pipeViews.outside == own.pipeViews.outside);
    EXPECT_TRUE(shared.pipeViews.inside == own.pipeViews.inside);
    EXPECT_TRUE(shared.pipeViews.far == own.pipeViews.far);
}

// The frame picture of the report's first frame cell.
QImage firstFramePicture(const std::string &report)
{
    DocxXml docx;
    if (!loadDocx(report, docx) || docx.tables.size() < 6)
        return {};
    const auto blips = elementsNamed(cellAt(docx.tables[SonarPic], 1, 1), "a:blip");
    if (blips.empty())
        return {};
    pugi::xml_document rels;
    rels.load_string(docx.parts["word/_rels/document.xml.rels"].c_str());
    const pugi::xml_node rel = rels.document_element().find_child_by_attribute(
        "Relationship", "Id", blips[0].attribute("r:embed").value());
    const std::string &png = docx.parts["word/" + std::string(rel.attribute("Target").value())];
    return QImage::fromData(QByteArray::fromStdString(png), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

struct PixelCounts
{
    int coloured = 0; // neither grey nor the grid's colour
    int grid = 0;
};

PixelCounts countPixels(const QImage &picture)
{
    PixelCounts counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c == QColor(0, 200, 255))
                ++counts.grid;
            else if (c.red() != c.green() || c.green() != c.blue())
                ++counts.coloured;
        }
    return counts;
}

TEST_F(ReportExportTest, TheFramePicturesAreDrawnInTheFrameViewsPaletteAndGrid)
{
    open(markedSurvey(4, {2}));
    const std::string plain = dir.file("plain.docx");
    prompts.nextSaveFile = QString::fromStdString(plain);
    clickReport();
    const QImage before = firstFramePicture(plain);
    ASSERT_EQ(before.size(), QSize(500, 500));
    EXPECT_GT(countPixels(before).coloured, 10000);
    EXPECT_EQ(countPixels(before).grid, 0);

    QTest::mouseClick(child<QToolButton>("greyButton"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("gridButton"), Qt::LeftButton);
    ASSERT_TRUE(window->frameView().overlay().showGrid);
    const std::string shaped = dir.file("shaped.docx");
    prompts.nextSaveFile = QString::fromStdString(shaped);
    clickReport();
    EXPECT_TRUE(prompts.messages.empty());
    const QImage after = firstFramePicture(shaped);
    ASSERT_EQ(after.size(), QSize(500, 500));
    // Grey echoes, white texts and gauges; the grid's axes, diagonals and
    // circles in its own colour.
    EXPECT_EQ(countPixels(after).coloured, 0);
    EXPECT_GT(countPixels(after).grid, 2000);
}

TEST_F(ReportExportTest, ProgressRisesFromStartToEnd)
{
    open(markedSurvey(4, {1, 2}));
    RecordingProgressSink progress;
    SilentMessageSink silent;
    ASSERT_TRUE(writeReport(doc(), dir.file("report.docx"), false, &progress, silent));
    // Pictures: the 3D views, then 4 + 6 i / 4 after frame i; the document:
    // its tables, the 3D views, two frames from 50 to 70, saving, closing.
    EXPECT_EQ(progress.posts,
              (std::vector<std::pair<int, int>>{
                  {0, 100},  {1, 100},  {2, 100},  {3, 100},  {4, 100},  {4, 100},  {5, 100},
                  {7, 100},  {8, 100},  {10, 100}, {20, 100}, {22, 100}, {30, 100}, {40, 100},
                  {42, 100}, {44, 100}, {46, 100}, {48, 100}, {50, 100}, {60, 100}, {70, 100},
                  {70, 100}, {74, 100}, {80, 100}, {90, 100}, {-1, -1}}));
}

} // namespace
