#include "core/app/Settings.h"
#include "core/base/MemoryPolicy.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/app/WindowMemory.h"
#include "ui/widgets/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Saves what the screen shows of the window, or of the dialog open over it,
// and ends the program: how the pictures of the README and the manual are
// made.
void screenshotThenQuit(dorvane::MainWindow &window, const QString &path, int delayMs)
{
    window.move(0, 0); // all of it on the screen
    QTimer::singleShot(delayMs, &window, [&window, path] {
        QWidget *shown = QApplication::activeModalWidget();
        if (!shown)
            shown = &window;
        const QPixmap shot = shown->screen()->grabWindow(shown->winId());
        // Ends the dialog's own event loop as well as the program's.
        QApplication::exit(shot.save(path) ? 0 : 1);
    });
}

} // namespace

int main(int argc, char **argv)
{
    dorvane::returnLargeBlocksWhenFreed();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tessiq");
    QApplication::setOrganizationName("Dorvane");
    // Ties the windows to the menu entry the package installs.
    QGuiApplication::setDesktopFileName("tessiq");

    QCommandLineParser parser;
    parser.setApplicationDescription("Pipe sonar inspection");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "A survey (*.Imv) or probe image (*.img) to open.");
    QCommandLineOption page("page",
                            "The page to start on: animation, stroke, 3d, properties, pipe or "
                            "settings.",
                            "page");
    QCommandLineOption frame("frame", "The frame to show first (counted from 1).", "n");
    QCommandLineOption language(
        "language", "The language of this run (0: Chinese, 1: English); the setting is kept.", "n");
    QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.", "png");
    QCommandLineOption click("click", "Press the named button before the picture is taken.",
                             "button");
    QCommandLineOption wait("wait", "Milliseconds to wait before the picture (3000).", "ms",
                            "3000");
    parser.addOptions({page, frame, language, screenshot, click, wait});
    parser.process(application);
    const QMap<QString, dorvane::ToolPanel::Page> pages = {
        {"animation", dorvane::ToolPanel::Page::Animation},
        {"stroke", dorvane::ToolPanel::Page::Stroke},
        {"3d", dorvane::ToolPanel::Page::View3D},
        {"properties", dorvane::ToolPanel::Page::Properties},
        {"pipe", dorvane::ToolPanel::Page::PipeAttributes},
        {"settings", dorvane::ToolPanel::Page::Settings},
    };
    bool numbersRead = true;
    const auto number = [&parser, &numbersRead](const QCommandLineOption &option) {
        bool ok = true;
        const int value = parser.isSet(option) ? parser.value(option).toInt(&ok) : 0;
        numbersRead = numbersRead && ok && value >= 0;
        return value;
    };
    const int firstFrame = number(frame);
    const int languageOfRun = number(language);
    const int delayMs = number(wait);
    if ((parser.isSet(page) && !pages.contains(parser.value(page))) || !numbersRead)
        parser.showHelp(2);

    // The configuration comes first: the window's texts depend on its language.
    dorvane::setUserConfigFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
    dorvane::loadSettings();
    if (parser.isSet(language))
        dorvane::settings().language = languageOfRun;
    dorvane::installQtTranslations(application, dorvane::settings().language);

    dorvane::MainWindow window;
    // Where the window stood and the view it showed when it was last closed.
    dorvane::WindowMemory::restoreGeometry(window);
    if (parser.isSet(page))
        window.setStartPage(pages.value(parser.value(page)));
    else if (const auto view = dorvane::WindowMemory::view())
        window.setStartPage(*view);
    if (!parser.positionalArguments().isEmpty())
        window.openAtStart(parser.positionalArguments().front());
    window.show();
    if (firstFrame > 0)
        QObject::connect(
            &window.session(), &dorvane::SurveySession::opened, &window,
            [&window, firstFrame] {
                QTimer::singleShot(0, &window, [&window, firstFrame] {
                    window.session().goToFrame(firstFrame - 1);
                });
            },
            Qt::SingleShotConnection);
    if (parser.isSet(screenshot))
        screenshotThenQuit(window, parser.value(screenshot), delayMs);
    if (parser.isSet(click))
        QTimer::singleShot(200, &window, [&window, name = parser.value(click)] {
            if (auto *button = window.findChild<QAbstractButton *>(name))
                button->click();
        });
    return QApplication::exec();
}
