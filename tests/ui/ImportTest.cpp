// The file list and the import of IMG files through the import window.

#include "UiTestSupport.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "core/data/FrameRecord.h"
#include "ui/acquire/FileListPanel.h"
#include "ui/acquire/ImportWindow.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/ProgressWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
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
    ImportWindow dialog(prompts, QString());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入IMG文件"));
    EXPECT_EQ(dialog.findChild<QWidget *>("startButton"), nullptr);
    EXPECT_FALSE(dialog.graphicsPanel().isEnabled());
    dialog.show();
    EXPECT_EQ(dialog.liveView().size(), QSize(500, 500));

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
    ImportWindow dialog(prompts, QString());
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
}

// Saving onto the survey the main window has open, or onto a file of the
// list, under its own name, a symbolic link or a hard link, is refused.
TEST_F(ImportTest, NeitherTheOpenSurveyNorAListedFileIsWrittenOver)
{
    const std::string a = img("a.img", 1.0f), b = img("b.img", 2.0f);
    const std::string survey = dir.file("survey.Imv");
    writeSurvey(survey, 2);
    ImportWindow dialog(prompts, QString::fromStdString(survey));
    prompts.nextOpenFiles = {QString::fromStdString(a), QString::fromStdString(b)};
    dialog.addFiles();
    std::vector<std::string> targets;
    for (const std::string &file : {survey, b}) {
        const std::string name = std::filesystem::path(file).filename().string();
        std::filesystem::create_symlink(file, dir.file("link-" + name));
        std::filesystem::create_hard_link(file, dir.file("hard-" + name));
        for (const std::string &target : {file, dir.file("link-" + name), dir.file("hard-" + name)})
            targets.push_back(target);
    }
    const auto surveyBytes = readFileBytes(survey);
    const auto imgBytes = readFileBytes(b);
    for (const std::string &target : targets) {
        prompts.messages.clear();
        prompts.nextSaveFile = QString::fromStdString(target);
        EXPECT_FALSE(dialog.saveAnimation()) << target;
        EXPECT_EQ(prompts.messages, std::vector<int>{text::CannotSaveOverOpenFile}) << target;
    }
    EXPECT_EQ(readFileBytes(survey), surveyBytes);
    EXPECT_EQ(readFileBytes(b), imgBytes);
}

// Moving the shown file past a neighbour that cannot be read shows only the
// moved file.
TEST_F(ImportTest, MovingAnItemShowsNothingButThatItem)
{
    const std::string bad = dir.file("bad.img");
    writeFileBytes(bad, std::vector<uint8_t>(1000, 7));
    const std::string good = img("good.img", 4.5f);
    ImportWindow dialog(prompts, QString());
    prompts.nextOpenFiles = {QString::fromStdString(bad), QString::fromStdString(good)};
    dialog.addFiles();
    dialog.fileList().select(1);
    prompts.messages.clear();
    dialog.fileList().moveUp();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(dialog.fileList().selectedPath(), QString::fromStdString(good));
    EXPECT_EQ(dialog.liveView().overlay().frameIndex, 0);
    EXPECT_EQ(dialog.liveView().overlay().header->cableLength, 4.5f);
    dialog.fileList().moveDown();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(dialog.liveView().overlay().frameIndex, 1);
}

// With the settings on, the preview shows the file's title and notes.
TEST_F(ImportTest, ThePreviewShowsTitleAndNotesAsTheSettingsSay)
{
    const std::string a = img("a.img", 1.0f);
    for (const int on : {1, 0}) {
        settings().showTitle = on;
        settings().showNotes = on;
        ImportWindow dialog(prompts, QString());
        prompts.nextOpenFiles = {QString::fromStdString(a)};
        dialog.addFiles();
        EXPECT_EQ(dialog.liveView().overlay().showTitle, on == 1);
        EXPECT_EQ(dialog.liveView().overlay().showNotes, on == 1);
    }
    settings() = Settings{};
}
