#include "UiTestSupport.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "ui/app/SettingsPanel.h"
#include "ui/display/DefectStrip.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/QtTranslations.h"
#include "ui/widgets/QtUserPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class SettingsPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings{};
        panel = std::make_unique<SettingsPanel>(prompts);
        panel->setConfigPath(dir.file("config.dat"));
        panel->show();
        QObject::connect(panel.get(), &SettingsPanel::settingsChanged, [this] { ++changes; });
    }
    void TearDown() override { settings() = Settings{}; }

    template<typename T>
    T *child(const char *name)
    {
        return panel->findChild<T *>(name);
    }
    void choose(const char *list, int index)
    {
        auto *box = child<QComboBox>(list);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<SettingsPanel> panel;
    int changes = 0;
};

} // namespace

TEST_F(SettingsPanelTest, ShowsTheSettingsAndHidesTheSaveButton)
{
    settings().playRate = 8;
    settings().showNotes = 1;
    settings().tiltAlarm = 0;
    panel->load();
    EXPECT_EQ(child<QComboBox>("rateList")->currentText(), "8x");
    EXPECT_FALSE(child<QCheckBox>("showTitleBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("showNotesBox")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("tiltAlarmBox")->isChecked());
    EXPECT_EQ(child<QComboBox>("languageList")->currentIndex(), 0);
    EXPECT_TRUE(child<QToolButton>("saveSettingsButton")->isHidden());

    settings().playRate = 3; // no such item
    panel->load();
    EXPECT_EQ(child<QComboBox>("rateList")->currentIndex(), -1);
}

TEST_F(SettingsPanelTest, ChangesTakeEffectAtOnceAndAreSavedOnRequest)
{
    choose("rateList", 5);
    EXPECT_EQ(settings().playRate, 16);
    EXPECT_EQ(changes, 1);
    child<QCheckBox>("showTitleBox")->click();
    EXPECT_EQ(settings().showTitle, 1);
    EXPECT_EQ(changes, 2);
    auto *save = child<QToolButton>("saveSettingsButton");
    EXPECT_FALSE(save->isHidden());
    EXPECT_FALSE(std::filesystem::exists(dir.file("config.dat")));

    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_TRUE(save->isHidden());
    const auto bytes = readFileBytes(dir.file("config.dat"));
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(le::readI32(&bytes[0]), 16);
    EXPECT_EQ(le::readI32(&bytes[4]), 1);
    EXPECT_TRUE(prompts.messages.empty()); // the language did not change
}

TEST_F(SettingsPanelTest, LanguageChangeAsksForARestartOnce)
{
    choose("languageList", 1);
    EXPECT_EQ(settings().language, 1);
    EXPECT_EQ(changes, 0); // nothing on screen changes before a restart
    auto *save = child<QToolButton>("saveSettingsButton");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::RestartForLanguage});
    child<QCheckBox>("tiltAlarmBox")->click();
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(SettingsPanelTest, AFailedSaveIsToldAndCanBeTriedAgain)
{
    // A folder in place of the file: config.dat cannot be replaced.
    std::filesystem::create_directory(dir.file("config.dat"));
    choose("languageList", 1);
    auto *save = child<QToolButton>("saveSettingsButton");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(prompts.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_FALSE(save->isHidden());

    std::filesystem::remove(dir.file("config.dat"));
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_TRUE(save->isHidden());
    EXPECT_EQ(prompts.messages, (std::vector<int>{text::SaveFileFailed, text::RestartForLanguage}));
    EXPECT_EQ(readFileBytes(dir.file("config.dat")).size(), 20u);
}

TEST(DefectStripGeometry, MarksAreRoundAndCentredOnTheirPosition)
{
    // Strip height 11 leaves a 6 x 6 mark: already square.
    QRect mark = DefectStrip::markRect(200, 11);
    EXPECT_EQ(mark.left() + mark.width() / 2, 200);
    EXPECT_EQ(mark.width(), 6);
    EXPECT_EQ(mark.height(), 6);
    // A taller strip makes a round mark of diameter height - 5 centred on x.
    mark = DefectStrip::markRect(10, 16);
    EXPECT_EQ(mark.width(), 11);
    EXPECT_EQ(mark.height(), 11);
    EXPECT_EQ(mark.left(), 10 - 3 - 2);
    EXPECT_EQ(mark.top(), 0);
}

TEST(DefectStripGeometry, HitTestFindsTheFirstMark)
{
    DefectStrip strip;
    strip.resize(400, 16);
    // Frame i of n at 10 + 380 * i / n.
    strip.setPositionOf([](int i, int n) { return 10 + 380 * i / n; });
    std::vector<uint8_t> flags(100, 0);
    flags[50] = flags[51] = 1; // overlapping marks
    strip.setFlags(flags);
    EXPECT_EQ(strip.markAt(QPoint(200, 5)), 50);
    EXPECT_EQ(strip.markAt(QPoint(205, 5)), 50); // in both: the first wins
    EXPECT_EQ(strip.markAt(QPoint(207, 5)), 51);
    EXPECT_EQ(strip.markAt(QPoint(100, 5)), -1);
    int clicked = -1, hidden = 0;
    QObject::connect(&strip, &DefectStrip::frameClicked, [&](int i) { clicked = i; });
    QObject::connect(&strip, &DefectStrip::previewHidden, [&] { ++hidden; });
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_EQ(clicked, -1);
    EXPECT_EQ(hidden, 1); // a click always hides the preview
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(199, 5));
    EXPECT_EQ(clicked, 50);
}

TEST(ProgressWindowTest, FollowsTheProgressProtocol)
{
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    ProgressWindow progress(&owner);
    progress.setProgressText(text::ReadingData);
    EXPECT_EQ(progress.text(), QString::fromUtf8("正在读取数据..."));
    progress.postProgress(0, 10);
    EXPECT_TRUE(progress.isHidden());
    progress.postProgress(5, 10);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.barValue(), 100);
    progress.postProgress(1, 1);
    EXPECT_EQ(progress.barValue(), ProgressWindow::BarMaximum);
    progress.postProgress(-1, -1);
    EXPECT_TRUE(progress.isHidden());
}

TEST(QtUserPromptsTest, EnterGivesTheNamedDefault)
{
    QWidget owner;
    owner.show();
    QtUserPrompts prompts;
    prompts.setParent(&owner);
    const auto defaultOf = [&](MessageSink::Buttons buttons,
                               std::optional<MessageSink::Answer> named) {
        QString pressed;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            pressed = box->defaultButton() ? box->defaultButton()->text() : QString();
            box->reject();
        });
        if (named)
            prompts.ask(text::ConfirmExit, buttons, *named);
        else
            prompts.ask(text::ConfirmExit, buttons);
        return pressed;
    };
    const QString ok = QMessageBox().addButton(QMessageBox::Ok)->text();
    const QString cancel = QMessageBox().addButton(QMessageBox::Cancel)->text();
    const QString yes = QMessageBox().addButton(QMessageBox::Yes)->text();
    EXPECT_EQ(defaultOf(MessageSink::Buttons::OkCancel, MessageSink::Answer::Ok), ok);
    EXPECT_EQ(defaultOf(MessageSink::Buttons::OkCancel, std::nullopt), cancel);
    EXPECT_EQ(defaultOf(MessageSink::Buttons::YesNoCancel, std::nullopt), yes);
}

TEST(QtUserPromptsTest, FileDialogsStartInTheFolderUsedLast)
{
    QSettings().remove("lastFolder");
    TempDir first;
    TempDir second;
    writeFileBytes(second.file("b.Imv"), {1});
    QtUserPrompts prompts;
    // Notes the folder each dialog starts in, then picks chosen (or cancels).
    const auto run = [](const std::function<void()> &open, const QString &chosen) {
        QString startedIn;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            startedIn = dialog->directory().absolutePath();
            if (chosen.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(chosen);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
        });
        open();
        return startedIn;
    };
    const UserPrompts::FileDialog save{"Save", "Image Video (*.Imv)", "Imv", "a.Imv"};
    const UserPrompts::FileDialog open{"Open", "Image Video (*.Imv)", "Imv"};

    std::optional<QString> saved;
    run([&] { saved = prompts.saveFileName(save); }, QString::fromStdString(first.file("a.Imv")));
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, QString::fromStdString(first.file("a.Imv")));

    std::optional<QString> opened;
    const QString startedIn = run([&] { opened = prompts.openFileName(open); },
                                  QString::fromStdString(second.file("b.Imv")));
    EXPECT_EQ(startedIn, QDir(QString::fromStdString(first.path().string())).absolutePath());
    ASSERT_TRUE(opened);

    // A cancelled dialog changes nothing; the folder is kept for the next run.
    run([&] { prompts.openFileNames(open); }, QString());
    EXPECT_EQ(QSettings().value("lastFolder").toString(),
              QDir(QString::fromStdString(second.path().string())).absolutePath());
}

TEST(QtTranslationsTest, QtsOwnTextsFollowTheProgramsLanguage)
{
    QCoreApplication &application = *QCoreApplication::instance();
    EXPECT_TRUE(installQtTranslations(application, 1));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    ASSERT_TRUE(installQtTranslations(application, 0)) << "Qt's translations are not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QString::fromUtf8("打开"));

    // The other tests see Qt's English again.
    for (QTranslator *translator : application.findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}
