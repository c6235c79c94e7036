// A long survey through the desktop program, step by step: open, play, edit
// and save, the deviation map, the 3D model, the video export and the
// report. After each step it prints the resident memory now and the peak so
// far, and for the open the longest time the window went without handling
// its events.
//
//   build/bin/tessiq-cli simulate -o long.Imv --frames 10000
//   QT_QPA_PLATFORM=offscreen build/bin/long-survey-memory long.Imv

#include "core/base/MemoryPolicy.h"
#include "ui/app/ExportCommands.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/widgets/UserPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace dorvane;

namespace {

// Answers Yes, and names a file in the survey's folder for every export.
class ScriptPrompts final : public UserPrompts
{
public:
    using UserPrompts::ask;
    QString nextFile;
    void deliver(int textId, std::string_view detail) override
    {
        std::printf("  (message %d: %.*s)\n", textId, static_cast<int>(detail.size()),
                    detail.data());
    }
    Answer ask(int, Buttons buttons, Answer) override
    {
        return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    std::optional<QString> openFileName(const FileDialog &) override { return std::nullopt; }
    QStringList openFileNames(const FileDialog &) override { return {}; }
    std::optional<QString> folderName(const FileDialog &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialog &) override { return nextFile; }
};

long residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

long peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The resident memory's parts: anonymous (the program's own data and the
// graphics driver's) and file pages (the libraries' code mapped in).
std::string residentParts()
{
    std::ifstream status("/proc/self/status");
    std::string line, parts;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0 || line.rfind("RssFile:", 0) == 0) {
            const long kib = std::stol(line.substr(line.find(':') + 1));
            parts += " " + line.substr(3, 4) + " " + std::to_string(kib / 1024);
        }
    }
    return parts;
}

void report(const char *step, double seconds)
{
    std::printf("%-28s %6ld MiB now %6ld MiB peak %8.2f s (MiB:%s)\n", step, residentMiB(),
                peakMiB(), seconds, residentParts().c_str());
    std::fflush(stdout);
}

void pumpFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

int main(int argc, char **argv)
{
    returnLargeBlocksWhenFreed();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: long-survey-memory SURVEY.Imv\n");
        return 2;
    }
    const std::filesystem::path survey = std::filesystem::absolute(argv[1]);
    const std::filesystem::path folder = survey.parent_path();
    ScriptPrompts prompts;
    MainWindow window(&prompts);
    window.show();
    pumpFor(200);
    report("started", 0);

    // The window's longest pause while the survey opens: a 5 ms timer that
    // should fire throughout.
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticker.start(5);
    QElapsedTimer step;
    step.start();
    SurveySession &session = window.session();
    if (!session.openFile(QString::fromStdString(survey.string())))
        return 1;
    ticker.stop();
    report("open", static_cast<double>(step.elapsed()) / 1000);
    std::printf("  longest pause of the window while opening: %lld ms\n",
                static_cast<long long>(longestGap));

    step.restart();
    session.play(SurveySession::Direction::Forwards);
    pumpFor(3000);
    session.pause();
    report("play 3 s", static_cast<double>(step.elapsed()) / 1000);

    step.restart();
    session.editFrame([](FrameHeader &h) { h.setTitle("long survey"); });
    session.save();
    session.goToFrame(session.frameCount() / 2);
    report("edit, save, go to middle", static_cast<double>(step.elapsed()) / 1000);

    step.restart();
    window.toolPanel().switchPage(ToolPanel::Page::Stroke);
    pumpFor(100);
    report("deviation map", static_cast<double>(step.elapsed()) / 1000);

    step.restart();
    window.toolPanel().switchPage(ToolPanel::Page::View3D);
    pumpFor(100);
    report("3D model", static_cast<double>(step.elapsed()) / 1000);

    step.restart();
    prompts.nextFile = QString::fromStdString((folder / "long-survey.avi").string());
    window.toolPanel().exports().exportVideo();
    report("video export", static_cast<double>(step.elapsed()) / 1000);

    step.restart();
    prompts.nextFile = QString::fromStdString((folder / "long-survey.docx").string());
    window.toolPanel().exports().setFileOpener([](const QString &) { return true; });
    window.toolPanel().exports().exportReport();
    report("report (.docx)", static_cast<double>(step.elapsed()) / 1000);
    return 0;
}
