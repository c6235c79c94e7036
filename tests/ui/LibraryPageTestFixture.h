#pragma once

#include "MainWindowTestFixture.h"
#include "ui/library/BatchReportRun.h"
#include "ui/library/LibraryFilter.h"
#include "ui/library/LibraryModel.h"
#include "ui/library/LibraryPanel.h"
#include "ui/library/LibraryScanner.h"

#include <QFont>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

namespace dorvane::test {

// The main window with a project folder of two surveys and a file that is
// not one, and the library page's catalogue in the test's folder.
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

} // namespace dorvane::test
