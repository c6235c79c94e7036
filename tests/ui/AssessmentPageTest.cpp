#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "ui/display/AssessmentPanel.h"
#include "ui/display/AssessmentView.h"
#include "ui/widgets/GradingTableChoice.h"
#include "ui/widgets/UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// Deposit from a depth share of 1 %, so that the simulated sediment is graded.
constexpr const char *LowDepositBounds = R"({"kinds": [
    {"kind": "deposit", "code": "CJ", "name_zh": "沉积", "name_en": "Deposit",
     "bounds": [1, 2, 40, 50], "scores": [0.5, 2, 5, 10]},
    {"kind": "deformation", "code": "BX", "name_zh": "变形", "name_en": "Deformation",
     "bounds": [3, 5, 15, 25], "scores": [1, 2, 5, 10]}]})";

class AssessmentPageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        GradingTableChoice::chooseShipped();
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        GradingTableChoice::chooseShipped();
    }

    std::string lowDepositTable()
    {
        const std::string path = dir.file("low.json");
        writeFileBytes(path, bytesOf(LowDepositBounds));
        return path;
    }
    void openOnAssessmentPage(int frames)
    {
        open(survey(frames, 4));
        QTest::mouseClick(child<QToolButton>("assessmentPageButton"), Qt::LeftButton);
        ASSERT_EQ(window->visibleView(), MainWindow::View::Assessment);
    }
    AssessmentPanel &panel() { return window->toolPanel().assessmentPanel(); }
    QTableView &table() { return panel().records(); }
    int recordsOf(const QString &code)
    {
        int n = 0;
        for (int row = 0; row < table().model()->rowCount(); ++row)
            n += table().model()->index(row, AssessmentPanel::CodeColumn).data() == code;
        return n;
    }
    void clickRow(int row)
    {
        const QRect cell = table().visualRect(table().model()->index(row, 0));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

TEST_F(AssessmentPageTest, ARecordOrAPointOfTheChartGoesToItsFrameThroughTheSavePrompt)
{
    ASSERT_TRUE(GradingTableChoice::choose(QString::fromStdString(lowDepositTable()), prompts));
    openOnAssessmentPage(300);
    ASSERT_GT(table().model()->rowCount(), 2);
    EXPECT_FALSE(child<QLabel>("noDefectRecords")->isVisible());

    // Sorted by length, longest first: the lengths read down in order.
    table().sortByColumn(AssessmentPanel::LengthColumn, Qt::DescendingOrder);
    const auto length = [&](int row) {
        return table().model()->index(row, AssessmentPanel::LengthColumn).data().toDouble();
    };
    for (int row = 1; row < table().model()->rowCount(); ++row)
        EXPECT_GE(length(row - 1), length(row)) << row;

    const int first = panel().firstFrameOfRow(1);
    clickRow(1);
    EXPECT_EQ(doc().currentIndex(), first);
    EXPECT_EQ(window->assessmentView().currentFrame(), first);

    // With an edit pending the save question comes first; Cancel stays.
    editTitle("pending");
    prompts.answers = {MessageSink::Answer::Cancel};
    clickRow(0);
    EXPECT_EQ(prompts.questions.back(), text::DataChangedSave);
    EXPECT_EQ(doc().currentIndex(), first);

    // The chart: its plot runs from the first frame's length on the left to
    // the last one's on the right.
    prompts.answers = {MessageSink::Answer::No};
    AssessmentView &view = window->assessmentView();
    const int left = view.frameAt(QPoint(60, 200));
    const int right = view.frameAt(QPoint(440, 200));
    ASSERT_GE(left, 0);
    ASSERT_GT(right, left);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(440, 200));
    EXPECT_EQ(doc().currentIndex(), right);
    EXPECT_EQ(view.currentFrame(), right);
    const QString tip = view.toolTipAt(QPoint(440, 200));
    EXPECT_TRUE(tip.startsWith(uiText(text::FrameAtLength).arg(right + 1).section(' ', 0, 1)))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(uiText(text::CapacityLossSeries))) << tip.toStdString();
    EXPECT_EQ(view.frameAt(QPoint(2, 200)), -1); // left of the plot
}

TEST_F(AssessmentPageTest, AnEditOfThePipeRadiusChangesTheFiguresAtOnceAndASaveKeepsThem)
{
    openOnAssessmentPage(20);
    goTo(5);
    const QString before = panel().summaryText(2); // the mean capacity loss
    // A nominal pipe far larger than the wall: most of its area is lost.
    session().editFrame([](FrameHeader &h) { h.pipeRadius = 2000; });
    const QString edited = panel().summaryText(2);
    EXPECT_NE(edited, before);

    // Leaving without saving takes the figures back with the edit.
    prompts.answers = {MessageSink::Answer::No};
    goTo(6);
    EXPECT_EQ(panel().summaryText(2), before);

    goTo(5);
    session().editFrame([](FrameHeader &h) { h.pipeRadius = 2000; });
    prompts.answers = {MessageSink::Answer::Yes};
    goTo(6);
    EXPECT_EQ(panel().summaryText(2), edited);
    AnimationFile file;
    ASSERT_TRUE(file.open(doc().path()));
    FrameHeader onDisk;
    ASSERT_TRUE(file.readFrameHeader(5, onDisk));
    EXPECT_EQ(onDisk.pipeRadius, 2000);
}

TEST_F(AssessmentPageTest, TheGradingTableChosenOnTheSettingsPageGradesThePage)
{
    openOnAssessmentPage(300);
    EXPECT_EQ(recordsOf("CJ"), 0); // the shipped table: no deposit of 20 %
    const int deformation = recordsOf("BX");

    const std::string table = lowDepositTable();
    window->toolPanel().switchPage(ToolPanel::Page::Settings);
    prompts.nextOpenFile = QString::fromStdString(table);
    child<QPushButton>("chooseGradingTableButton")->click();
    EXPECT_EQ(child<QLabel>("gradingTableName")->text(), "low.json");
    EXPECT_EQ(GradingTableChoice::chosenFile(), QString::fromStdString(table));

    // A table whose bounds fall is refused, and the one chosen stays.
    const std::string falling = dir.file("falling.json");
    std::string json = LowDepositBounds;
    json.replace(json.find("[1, 2, 40, 50]"), 14, "[1, 2, 40, 30]");
    writeFileBytes(falling, bytesOf(json));
    prompts.nextOpenFile = QString::fromStdString(falling);
    child<QPushButton>("chooseGradingTableButton")->click();
    EXPECT_EQ(prompts.messages.back(), text::GradingTableKept);
    EXPECT_EQ(GradingTableChoice::chosenFile(), QString::fromStdString(table));

    window->toolPanel().switchPage(ToolPanel::Page::Assessment);
    EXPECT_GT(recordsOf("CJ"), 0);
    EXPECT_EQ(recordsOf("BX"), deformation);

    window->toolPanel().switchPage(ToolPanel::Page::Settings);
    child<QPushButton>("shippedGradingTableButton")->click();
    EXPECT_TRUE(GradingTableChoice::chosenFile().isEmpty());
    window->toolPanel().switchPage(ToolPanel::Page::Assessment);
    EXPECT_EQ(recordsOf("CJ"), 0);

    // A chosen file that later cannot be read is told, and the page grades
    // by the shipped table.
    ASSERT_TRUE(GradingTableChoice::choose(QString::fromStdString(table), prompts));
    std::filesystem::remove(table);
    window->gradingTableChanged();
    EXPECT_EQ(prompts.messages.back(), text::GradingTableRefused);
    EXPECT_EQ(recordsOf("CJ"), 0);
    EXPECT_EQ(recordsOf("BX"), deformation);
}
