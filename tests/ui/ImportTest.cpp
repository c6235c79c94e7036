// The file list and the import of IMG files through the acquisition window.

#include "UiTestSupport.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "core/data/FrameRecord.h"
#include "ui/acquire/AcquisitionDialog.h"
#include "ui/acquire/FileListPanel.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/ProgressWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

QStringList names(FileListPanel &panel)
{
    QStringList all;
    for (int i = 0; i < panel.count(); ++i)
        all << panel.list().item(i)->text();
    return all;
}

float cableLengthOf(const std::string &path, int frame)
{
    AnimationFile file;
    FrameHeader header;
    EXPECT_TRUE(file.open(path, PosixFile::Mode::Read));
    EXPECT_TRUE(file.readFrameHeader(frame, header));
    return header.cableLength;
}

class ImportTest : public ::testing::Test
{
protected:
    std::string img(const std::string &name, float cableLength)
    {
        const std::string path = dir.file(name);
        writeFileBytes(path, makeImgFile(1000, cableLength, 40));
        return path;
    }

    TempDir dir;
    ScriptedPrompts prompts;
};

} // namespace

TEST(FileListPanelTest, MovesAndRemovesTheSelectedItem)
{
    FileListPanel panel;
    QSignalSpy changes(&panel, &FileListPanel::selectionChanged);
    panel.addFiles({"/data/a.img", "/data/b.img", "/data/c.img"});
    EXPECT_EQ(names(panel), (QStringList{"a.img", "b.img", "c.img"}));
    EXPECT_EQ(changes.count(), 0);

    // Without a selection the buttons do nothing.
    panel.moveUp();
    panel.moveDown();
    panel.remove();
    EXPECT_EQ(names(panel), (QStringList{"a.img", "b.img", "c.img"}));

    panel.select(0);
    panel.moveUp(); // the first stays first
    EXPECT_EQ(names(panel), (QStringList{"a.img", "b.img", "c.img"}));
    panel.moveDown();
    EXPECT_EQ(names(panel), (QStringList{"b.img", "a.img", "c.img"}));
    EXPECT_EQ(panel.selectedPath(), "/data/a.img");
    panel.select(2);
    panel.moveDown(); // the last stays last
    EXPECT_EQ(panel.paths(), (QStringList{"/data/b.img", "/data/a.img", "/data/c.img"}));

    // Removing selects the item now at that place, or the new last one.
    panel.select(1);
    changes.clear();
    panel.remove();
    EXPECT_EQ(names(panel), (QStringList{"b.img", "c.img"}));
    EXPECT_EQ(panel.selectedPath(), "/data/c.img");
    EXPECT_EQ(changes.count(), 1);
    panel.remove();
    EXPECT_EQ(panel.selectedPath(), "/data/b.img");
    changes.clear();
    panel.remove(); // the last item: the owner hears of the empty list
    EXPECT_EQ(panel.count(), 0);
    EXPECT_EQ(panel.selectedRow(), -1);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(ImportTest, SavesTheListInItsOrderAndPreviewsEachFile)
{
    const std::string a = img("a.img", 1.5f), b = img("b.img", 2.5f), c = img("c.img", 3.5f);
    AcquisitionDialog dialog(AcquisitionDialog::Mode::Import, prompts, QString());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入IMG文件"));
    EXPECT_FALSE(dialog.isWaitingForDevice());
    EXPECT_TRUE(dialog.findChild<QWidget *>("startButton")->isHidden());
    EXPECT_FALSE(dialog.graphicsPanel().isEnabled());

    prompts.nextOpenFiles = {QString::fromStdString(c), QString::fromStdString(a),
                             QString::fromStdString(b)};
    dialog.addFiles();
    FileListPanel &list = dialog.fileList();
    EXPECT_EQ(names(list), (QStringList{"c.img", "a.img", "b.img"}));
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_TRUE(dialog.liveView().image().isValid());
    ASSERT_NE(dialog.liveView().overlay().header, nullptr);
    EXPECT_EQ(dialog.liveView().overlay().header->cableLength, 3.5f);
    EXPECT_EQ(dialog.liveView().overlay().frameCount, 3);
    EXPECT_TRUE(dialog.propertyPanel().isEnabled());
    EXPECT_TRUE(dialog.propertyPanel().isReadOnly());

    list.select(2);
    EXPECT_EQ(dialog.liveView().overlay().header->cableLength, 2.5f);
    EXPECT_EQ(dialog.liveView().overlay().frameIndex, 2);
    list.moveUp(); // b before a
    const std::string out = dir.file("imported.Imv");
    prompts.nextSaveFile = QString::fromStdString(out);
    ASSERT_TRUE(dialog.saveAnimation());
    EXPECT_EQ(readFileBytes(out).size(), 1024u + 3u * FrameRecord::Size);
    EXPECT_EQ(cableLengthOf(out, 0), 3.5f);
    EXPECT_EQ(cableLengthOf(out, 1), 2.5f);
    EXPECT_EQ(cableLengthOf(out, 2), 1.5f);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(dialog.progressWindow().text(), QString::fromUtf8("正在保存数据..."));

    // An empty list shows nothing.
    for (int i = 0; i < 3; ++i)
        list.remove();
    EXPECT_FALSE(dialog.liveView().image().isValid());
    EXPECT_FALSE(dialog.propertyPanel().isEnabled());
    EXPECT_FALSE(dialog.saveAnimation());
}

TEST_F(ImportTest, AnAnimationInTheListStopsTheSaveAndLeavesNothing)
{
    const std::string a = img("a.img", 1.0f);
    const std::string survey = dir.file("survey.Imv");
    writeSurvey(survey, 2);
    AcquisitionDialog dialog(AcquisitionDialog::Mode::Import, prompts, QString());
    prompts.nextOpenFiles = {QString::fromStdString(a), QString::fromStdString(survey)};
    dialog.addFiles();
    dialog.fileList().select(1); // an animation previews
    EXPECT_EQ(dialog.liveView().overlay().frameIndex, 1);
    dialog.fileList().select(0);
    const std::string out = dir.file("out.Imv");
    prompts.nextSaveFile = QString::fromStdString(out);
    EXPECT_FALSE(dialog.saveAnimation());
    EXPECT_EQ(prompts.messages, std::vector<int>{text::ImgFileError});
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(dialog.fileList().selectedRow(), 1); // the item that failed

    // Importing onto the survey the main window has open is refused.
    AcquisitionDialog second(AcquisitionDialog::Mode::Import, prompts,
                             QString::fromStdString(survey));
    prompts.nextOpenFiles = {QString::fromStdString(a)};
    second.addFiles();
    prompts.nextSaveFile = QString::fromStdString(survey);
    EXPECT_FALSE(second.saveAnimation());
    EXPECT_EQ(prompts.messages.back(), text::CannotSaveOverOpenFile);
}
