// The library page's batch of reports: the reports draw their 3D views, so
// this runs with the OpenGL tests.
#include "LibraryPageTestFixture.h"
#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

using namespace dorvane;
using namespace dorvane::test;

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
