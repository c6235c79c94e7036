// Showing a frame in the main window: load, derive, render, overlay, and the
// frame view drawn into a 500 x 500 picture as its paint does. Playback at 16
// frames per second leaves 62 ms for each.
//
//   build/bin/show-frame-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/display/FrameView.h"
#include "ui/widgets/UserPrompts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <filesystem>

using namespace dorvane;

namespace {

constexpr int SurveyFrames = 300;

class NoPrompts final : public UserPrompts
{
public:
    using UserPrompts::ask;
    Answer ask(int, Buttons, Answer) override { return Answer::Cancel; }
    std::optional<QString> openFileName(const FileDialog &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialog &) override { return std::nullopt; }
    QStringList openFileNames(const FileDialog &) override { return {}; }
    std::optional<QString> folderName(const FileDialog &) override { return std::nullopt; }

private:
    void deliver(int, std::string_view) override {}
};

std::string surveyPath()
{
    const auto file = std::filesystem::temp_directory_path() / "dorvane-show-bench.Imv";
    SilentMessageSink messages;
    writeSimulatedSurvey(file.string(), SurveySimulator({}), SurveyFrames, nullptr, messages);
    return file.string();
}

void BM_ShowFrameAndDraw(benchmark::State &state)
{
    NoPrompts prompts;
    MainWindow window(&prompts);
    window.setVisibleView(MainWindow::View::Frame);
    if (!window.session().openFile(QString::fromStdString(surveyPath()))) {
        state.SkipWithError("cannot open the survey");
        return;
    }
    QImage picture(FrameView::ViewSize, FrameView::ViewSize, QImage::Format_RGB32);
    int index = 0;
    for (auto _ : state) {
        window.session().goToFrame(index);
        QPainter painter(&picture);
        window.frameView().draw(painter, picture.rect(), true);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
        index = (index + 1) % SurveyFrames;
    }
}
BENCHMARK(BM_ShowFrameAndDraw)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
