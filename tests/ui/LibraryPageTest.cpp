#include "MainWindowTestFixture.h"
#include "core/app/TextIds.h"
#include "ui/library/BatchReportRun.h"
#include "ui/library/LibraryFilter.h"
#include "ui/library/LibraryModel.h"
#include "ui/library/LibraryPanel.h"
#include "ui/library/LibraryScanner.h"
#include "ui/widgets/UiText.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class LibraryPageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        std::filesystem::create_directory(project);
        writeSurvey(project + "/a.Imv", 12, 1);
        writeSurvey(project + "/b.Imv", 15, 2);
        writeFileBytes(project + "/junk.Imv", bytesOf(std::string(700, 'x')));
        panel().setCataloguePath(dir.file("library.sqlite"));
    }
    LibraryPanel &panel() { return window->toolPanel().libraryPanel(); }
    LibraryModel &model() { return panel().model(); }
    QTableView &table() { return panel().table(); }

    void showLibraryWith(const std::string &folder)
    {
        QTest::mouseClick(child<QToolButton>("libraryPageButton"), Qt::LeftButton);
        prompts.nextFolder = QString::fromStdString(folder);
        child<QPushButton>("addLibraryFolderButton")->click();
        waitForScan();
    }
    void waitForScan()
    {
        ASSERT_TRUE(waitUntil([&] { return !panel().scanner().isRunning(); }, 20000));
    }
    // The row of the table as shown that holds a file of the project.
    int shownRow(const std::string &name)
    {
        const QString path = QString::fromStdString(project + "/" + name);
        for (int row = 0; row < panel().filter().rowCount(); ++row)
            if (model().entry(panel().filter().sourceRow(row)).path == path.toStdString())
                return row;
        return -1;
    }
    bool bold(const std::string &name)
    {
        const int row = shownRow(name);
        EXPECT_GE(row, 0) << name;
        const QModelIndex index = panel().filter().index(row, 0);
        return index.data(Qt::FontRole).value<QFont>().bold();
    }
    // A double click as the mouse makes it: a click, then the second press
    // that the system reports as a double click.
    void doubleClick(int row)
    {
        const QRect cell = table().visualRect(table().model()->index(row, 0));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, cell.center());
    }

    const std::string project = dir.file("project");
};

} // namespace

TEST_F(LibraryPageTest, ListsTheFolderOpensBySaveQuestionAndFollowsNewFiles)
{
    open(project + "/a.Imv");
    editTitle("pending");
    showLibraryWith(project);
    ASSERT_EQ(model().rowCount(), 3);
    EXPECT_EQ(panel().statusText(), uiText(text::LibraryCount).arg(3).arg(1));
    const int junk = model().rowOf(QString::fromStdString(project + "/junk.Imv"));
    ASSERT_GE(junk, 0);
    EXPECT_TRUE(model().entry(junk).figures.place.empty());
    EXPECT_TRUE(model()
                    .index(junk, LibraryModel::PlaceColumn)
                    .data()
                    .toString()
                    .startsWith(uiText(text::UnreadableSurvey).section('%', 0, 0)));
    EXPECT_EQ(model()
                  .index(model().rowOf(QString::fromStdString(project + "/b.Imv")),
                         LibraryModel::FramesColumn)
                  .data()
                  .toString(),
              "15");
    EXPECT_TRUE(bold("a.Imv"));
    EXPECT_FALSE(bold("b.Imv"));

    child<QLineEdit>("librarySearch")->setText("B.IMV");
    EXPECT_EQ(panel().filter().rowCount(), 1);
    child<QLineEdit>("librarySearch")->clear();
    EXPECT_EQ(panel().filter().rowCount(), 3);

    // The open survey holds an edit: the save question comes first.
    prompts.answers = {MessageSink::Answer::Cancel};
    doubleClick(shownRow("b.Imv"));
    EXPECT_EQ(prompts.questions.back(), text::DataChangedSave);
    EXPECT_TRUE(session().openedFile().endsWith("a.Imv"));
    prompts.answers = {MessageSink::Answer::No};
    doubleClick(shownRow("b.Imv"));
    EXPECT_TRUE(session().openedFile().endsWith("b.Imv"));
    EXPECT_TRUE(bold("b.Imv"));
    EXPECT_FALSE(bold("a.Imv"));

    // A survey copied into the folder while the page shows is listed.
    QTest::mouseClick(child<QToolButton>("libraryPageButton"), Qt::LeftButton);
    writeSurvey(project + "/c.Imv", 8, 3);
    EXPECT_TRUE(waitUntil([&] { return model().rowCount() == 4; }, 20000));
    std::filesystem::remove(project + "/b.Imv");
    EXPECT_TRUE(waitUntil([&] { return model().rowCount() == 3; }, 20000));
}

TEST_F(LibraryPageTest, ASelectionIsReportedInOneBatchWithItsSummary)
{
    showLibraryWith(project);
    ASSERT_EQ(model().rowCount(), 3);
    table().selectAll();
    const std::string out = dir.file("reports");
    std::filesystem::create_directory(out);
    prompts.nextFolder = QString::fromStdString(out);
    child<QPushButton>("reportSelectedButton")->click();
    ASSERT_TRUE(waitUntil([&] { return !panel().batch().isRunning(); }, 120000));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel().batch().written(), 2);
    ASSERT_EQ(panel().batch().failures().size(), 1);
    EXPECT_TRUE(panel().batch().failures().front().contains("junk.Imv"));
    EXPECT_EQ(prompts.messages.back(), text::BatchReportFailures);
    EXPECT_EQ(panel().statusText(), uiText(text::BatchReportDone).arg(2).arg(1));
    int reports = 0;
    for (const auto &file : std::filesystem::directory_iterator(out))
        reports += file.path().extension() == ".docx";
    EXPECT_EQ(reports, 3); // two reports and the project summary
}
