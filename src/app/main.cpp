#include "core/app/ProgramPaths.h"
#include "core/app/Settings.h"
#include "core/app/TextService.h"
#include "core/base/MemoryPolicy.h"
#include "core/base/SameFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/app/WindowMemory.h"
#include "ui/widgets/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// Runs then once the window has started up and opened its file (on a slow
// machine that can take seconds), and a dialog is open over it if one is
// awaited.
void whenStarted(dorvane::MainWindow &window, std::function<void()> then, bool awaitDialog = false)
{
    auto *poll = new QTimer(&window);
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, then, awaitDialog] {
        if (!window.toolPanel().isVisible() || window.session().isBusy() ||
            (awaitDialog && !QApplication::activeModalWidget()))
            return;
        poll->deleteLater();
        poll->stop();
        then();
    });
    poll->start();
}

// Saves a picture of the window, or of the dialog open over it,
// and ends the program: how the pictures of the README and the manual are
// made.
void screenshotThenQuit(dorvane::MainWindow &window, const QString &path, int delayMs,
                        bool ofDialog)
{
    window.move(0, 0); // all of it on the screen
    whenStarted(
        window,
        [&window, path, delayMs] {
            QTimer::singleShot(delayMs, &window, [&window, path] {
                QWidget *shown = QApplication::activeModalWidget();
                if (!shown)
                    shown = &window;
                // Drawn by the widgets themselves: what the display server
                // holds may lag behind the last change.
                const QPixmap shot = shown->grab();
                // Ends the dialog's own event loop as well as the program's.
                QApplication::exit(shot.save(path) ? 0 : 1);
            });
        },
        ofDialog);
}

} // namespace

int main(int argc, char **argv)
{
    dorvane::returnLargeBlocksWhenFreed();
    QCommandLineParser parser;
    parser.setApplicationDescription("Pipe sonar inspection");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "A survey (*.Imv) or probe image (*.img) to open.");
    QCommandLineOption page("page",
                            "The page to start on: animation, stroke, 3d, assessment, "
                            "properties, pipe, library or settings.",
                            "page");
    QCommandLineOption frame("frame", "The frame to show first (counted from 1).", "n");
    QCommandLineOption language(
        "language", "The language of this run (0: Chinese, 1: English); the setting is kept.", "n");
    QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.", "png");
    QCommandLineOption click("click", "Press the named button before the picture is taken.",
                             "button");
    QCommandLineOption wait("wait", "Milliseconds to wait before the picture, once started (1500).",
                            "ms", "1500");
    parser.addOptions({page, frame, language, screenshot, click, wait});
    // Read before the application starts, so that the help and the usage
    // errors need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool parsed = parser.parse(arguments);
    // The parser names the program from the application, which is not there yet.
    const auto help = [&parser] {
        return parser.helpText().replace("<executable_name>", "tessiq").toLocal8Bit();
    };
    if (parser.isSet("help")) {
        std::fputs(help().constData(), stdout);
        return 0;
    }
    if (!parsed) {
        std::fprintf(stderr, "tessiq: %s\n\n%s", qPrintable(parser.errorText()),
                     help().constData());
        return 2;
    }
    const QMap<QString, dorvane::ToolPanel::Page> pages = {
        {"animation", dorvane::ToolPanel::Page::Animation},
        {"stroke", dorvane::ToolPanel::Page::Stroke},
        {"3d", dorvane::ToolPanel::Page::View3D},
        {"assessment", dorvane::ToolPanel::Page::Assessment},
        {"properties", dorvane::ToolPanel::Page::Properties},
        {"pipe", dorvane::ToolPanel::Page::PipeAttributes},
        {"library", dorvane::ToolPanel::Page::Library},
        {"settings", dorvane::ToolPanel::Page::Settings},
    };
    bool numbersRead = true;
    const auto number = [&parser, &numbersRead](const QCommandLineOption &option) {
        bool ok = true;
        // An option that is not given takes its default (the wait's 1500 ms).
        const QString text = parser.value(option);
        const int value = text.isEmpty() ? 0 : text.toInt(&ok);
        numbersRead = numbersRead && ok && value >= 0;
        return value;
    };
    const int firstFrame = number(frame);
    const int languageOfRun = number(language);
    const int delayMs = number(wait);
    if ((parser.isSet(page) && !pages.contains(parser.value(page))) || !numbersRead) {
        std::fprintf(stderr, "tessiq: a page or number is not one the program knows\n\n%s",
                     help().constData());
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Tessiq");
    QApplication::setOrganizationName("Dorvane");
    // Ties the windows to the menu entry the package installs.
    QGuiApplication::setDesktopFileName("tessiq");

    // The configuration comes first: the window's texts depend on its language.
    dorvane::setUserConfigFolder(dorvane::defaultUserConfigFolder());
    dorvane::loadSettings();
    if (parser.isSet(language))
        dorvane::settings().language = languageOfRun;
    dorvane::installQtTranslations(application, dorvane::settings().language);
    if (const std::string problem = dorvane::languageFileProblem(); !problem.empty())
        std::fprintf(stderr, "tessiq: language file refused, built-in texts used: %s\n",
                     problem.c_str());

    // The picture of the window must not take the place of the survey it shows.
    if (parser.isSet(screenshot) && !parser.positionalArguments().isEmpty() &&
        dorvane::isSameFile(parser.value(screenshot).toStdString(),
                            parser.positionalArguments().front().toStdString())) {
        std::fputs("tessiq: the screenshot would replace the survey: choose another file\n",
                   stderr);
        return 2;
    }

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
        whenStarted(window, [&window, firstFrame] { window.session().goToFrame(firstFrame - 1); });
    if (parser.isSet(screenshot))
        screenshotThenQuit(window, parser.value(screenshot), delayMs, parser.isSet(click));
    if (parser.isSet(click))
        whenStarted(window, [&window, name = parser.value(click)] {
            // Queued: a dialog the button opens runs its own event loop.
            QTimer::singleShot(0, &window, [&window, name] {
                if (auto *button = window.findChild<QAbstractButton *>(name))
                    button->click();
            });
        });
    return QApplication::exec();
}
