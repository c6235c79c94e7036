#include "core/app/Settings.h"
#include "core/base/MemoryPolicy.h"
#include "ui/app/MainWindow.h"
#include "ui/app/ToolPanel.h"
#include "ui/app/WindowMemory.h"
#include "ui/widgets/QtTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Saves what the screen shows of the window and ends the program: how the
// README's picture of the running program is made.
void screenshotThenQuit(dorvane::MainWindow &window, const QString &path)
{
    window.move(0, 0); // all of it on the screen
    QTimer::singleShot(1500, &window, [&window, path] {
        const QPixmap shot = window.screen()->grabWindow(window.winId());
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
    QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.", "png");
    parser.addOption(screenshot);
    QCommandLineOption page("page", "The page to start on: animation, stroke or 3d.", "page");
    parser.addOption(page);
    parser.process(application);
    const QMap<QString, dorvane::ToolPanel::Page> pages = {
        {"animation", dorvane::ToolPanel::Page::Animation},
        {"stroke", dorvane::ToolPanel::Page::Stroke},
        {"3d", dorvane::ToolPanel::Page::View3D},
    };
    if (parser.isSet(page) && !pages.contains(parser.value(page)))
        parser.showHelp(2);

    // The configuration comes first: the window's texts depend on its language.
    dorvane::setUserConfigFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
    dorvane::loadSettings();
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
    if (parser.isSet(screenshot))
        screenshotThenQuit(window, parser.value(screenshot));
    return QApplication::exec();
}
