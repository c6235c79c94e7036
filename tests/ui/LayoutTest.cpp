// Lays out every window, page and dialog of the program at its smallest size
// in the language this run was started in (see LayoutTestMain.cpp) and lists
// each text that does not fit in the room it was given.

#include "UiTestSupport.h"
#include "core/app/TextIds.h"
#include "ui/acquire/AcquireWindow.h"
#include "ui/acquire/ImportWindow.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/display/SedimentChartDialog.h"
#include "ui/widgets/ProgressWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace dorvane::test {
namespace {

QString describe(const QWidget &w, const QString &text)
{
    return QString("%1 %2 \"%3\": needs %4x%5, has %6x%7")
        .arg(w.metaObject()->className(), w.objectName(), text)
        .arg(w.sizeHint().width())
        .arg(w.sizeHint().height())
        .arg(w.width())
        .arg(w.height());
}

// The texts of top's shown widgets that their size cuts: a label, button,
// check box or group title narrower or lower than its size hint, a wrapped
// label lower than its text needs at its width, a list narrower than its
// longest entry.
QStringList clippedTexts(QWidget &top)
{
    QStringList clipped;
    for (QWidget *w : top.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&top))
            continue;
        QString text;
        bool fits = true;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            text = label->text();
            if (label->wordWrap())
                fits = label->heightForWidth(label->width()) <= label->height();
            else
                fits = label->sizeHint().width() <= label->width() &&
                       label->sizeHint().height() <= label->height();
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            text = button->text();
            fits = button->sizeHint().width() <= button->width() &&
                   button->sizeHint().height() <= button->height();
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            text = group->title();
            fits = group->minimumSizeHint().width() <= group->width();
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            text = list->currentText();
            fits = list->sizeHint().width() <= list->width();
        }
        if (!text.isEmpty() && !fits)
            clipped << describe(*w, text);
    }
    return clipped;
}

// Shows top at the smallest size its layout allows.
void layOutSmallest(QWidget &top)
{
    top.show();
    if (top.layout())
        top.layout()->activate();
    top.resize(top.minimumSizeHint().expandedTo(top.minimumSize()));
    QCoreApplication::processEvents();
}

class LayoutTest : public ::testing::Test
{
protected:
    TempDir dir;
    ScriptedPrompts prompts;
};

TEST_F(LayoutTest, EveryPageOfTheMainWindowShowsItsTextsWhole)
{
    MainWindow window(&prompts);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.visibleView() == MainWindow::View::Frame; }));
    const std::string path = dir.file("survey.Imv");
    writeSurvey(path, 20);
    ASSERT_TRUE(window.session().openFile(QString::fromStdString(path)));

    for (ToolPanel::Page page :
         {ToolPanel::Page::Animation, ToolPanel::Page::Stroke, ToolPanel::Page::View3D,
          ToolPanel::Page::Assessment, ToolPanel::Page::Properties, ToolPanel::Page::PipeAttributes,
          ToolPanel::Page::Settings}) {
        window.toolPanel().switchPage(page);
        layOutSmallest(window);
        const QStringList clipped = clippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << "page " << static_cast<int>(page) << ":\n"
                                       << clipped.join('\n').toStdString();
    }
    // Every toolbar button is wide enough for its text, and names it whole
    // in its tip.
    for (QAbstractButton *button : window.toolPanel().findChildren<QToolButton *>())
        EXPECT_EQ(button->toolTip().left(button->text().simplified().size()),
                  button->text().simplified())
            << button->objectName().toStdString();
}

TEST_F(LayoutTest, TheAcquireAndImportWindowsShowTheirTextsWhole)
{
    AcquireWindow acquire(prompts, QString());
    ImportWindow import(prompts, QString());
    for (QDialog *dialog : std::initializer_list<QDialog *>{&acquire, &import}) {
        layOutSmallest(*dialog);
        // Every tab in turn, as the user may bring any of them up.
        QList<QStackedWidget *> tabs = dialog->findChildren<QStackedWidget *>();
        const int pages = tabs.isEmpty() ? 1 : tabs.front()->count();
        for (int page = 0; page < pages; ++page) {
            if (!tabs.isEmpty()) {
                tabs.front()->setCurrentIndex(page);
                layOutSmallest(*dialog);
            }
            const QStringList clipped = clippedTexts(*dialog);
            EXPECT_TRUE(clipped.isEmpty())
                << dialog->objectName().toStdString() << " tab " << page << ":\n"
                << clipped.join('\n').toStdString();
        }
    }
}

TEST_F(LayoutTest, TheSmallerWindowsShowTheirTextsWhole)
{
    AboutDialog about;
    layOutSmallest(about);
    EXPECT_TRUE(clippedTexts(about).isEmpty()) << clippedTexts(about).join('\n').toStdString();

    // The chart draws from the caller's lists while it is open.
    const std::vector<float> cableLengths{1.0f, 2.0f, 3.0f};
    const std::vector<int32_t> depths{10, 20, 30};
    SedimentChartDialog chart(cableLengths, depths, 300);
    layOutSmallest(chart);
    EXPECT_TRUE(clippedTexts(chart).isEmpty()) << clippedTexts(chart).join('\n').toStdString();

    QWidget owner;
    ProgressWindow progress(&owner);
    for (int textId : {text::ReadingData, text::SavingData, text::ModifyingData}) {
        progress.setProgressText(textId);
        progress.postProgress(1, 2);
        EXPECT_TRUE(clippedTexts(progress).isEmpty())
            << clippedTexts(progress).join('\n').toStdString();
    }
}

} // namespace
} // namespace dorvane::test
