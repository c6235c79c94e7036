#include "LibraryPageTestFixture.h"
#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

#include <QLineEdit>

using namespace dorvane;
using namespace dorvane::test;

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
