// Video export of a 2,000-frame survey at 500 x 500, as `tessiq-cli video
// --texts` does it: opening the survey, drawing each frame as the frame view
// draws it, encoding and writing the movie; and, for comparison, encoding the
// same frames drawn beforehand. Both report frames per second; their runs are
// interleaved, and the medians and their ratio are printed at the end, with
// the processor time per frame of all threads.
//
//   build/bin/video-bench [--benchmark_repetitions=N] (5 unless told)

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/AviMovieWriter.h"
#include "render/FrameOverlay.h"
#include "render/MovieFrame.h"

#include <QGuiApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace dorvane;

namespace {

constexpr int SurveyFrames = 2000;
constexpr int Size = 500;
constexpr int Rate = 4;

namespace fs = std::filesystem;

const std::string &surveyPath()
{
    static const std::string path = [] {
        const auto file = fs::temp_directory_path() / "dorvane-video-bench.Imv";
        SilentMessageSink messages;
        writeSimulatedSurvey(file.string(), SurveySimulator({}), SurveyFrames, nullptr, messages);
        return file.string();
    }();
    return path;
}

std::string moviePath()
{
    return (fs::temp_directory_path() / "dorvane-video-bench.avi").string();
}

FrameOverlay overlayOf(const AnimationDocument &doc, int index)
{
    FrameOverlay overlay;
    overlay.setFrame(&doc.current().header, &doc.fileHeader(), index, doc.frameCount());
    return overlay;
}

// Frames per second of each run of each benchmark, and the processor time
// of all the program's threads per frame in milliseconds.
std::vector<double> endToEndRates, endToEndCpu;
std::vector<double> encodingRates, encodingCpu;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_VideoExport(benchmark::State &state)
{
    surveyPath();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double processorStart = processorSeconds();
        SilentMessageSink messages;
        AnimationDocument doc(messages);
        if (!doc.open(surveyPath(), nullptr)) {
            state.SkipWithError("cannot open the survey");
            return;
        }
        SonarImage image;
        image.setPalette(0, 255, 256, false);
        MovieFrame frame(Size);
        AviMovieWriter writer(moviePath(), fourCharacterCode("Xvid"), Rate);
        for (int i = 0; i < doc.frameCount(); ++i) {
            if (!doc.loadFrame(i, true)) {
                state.SkipWithError("cannot read a frame");
                return;
            }
            image.renderFrame(doc.current().samples.data(), doc.current().header.roll);
            if (appendPicture(writer, frame.draw(image, overlayOf(doc, i), true)) != 0) {
                state.SkipWithError(writer.lastError().c_str());
                return;
            }
        }
        if (!writer.release()) {
            state.SkipWithError(writer.lastError().c_str());
            return;
        }
        endToEndRates.push_back(SurveyFrames / secondsSince(start));
        endToEndCpu.push_back((processorSeconds() - processorStart) * 1000 / SurveyFrames);
    }
    state.counters["fps"] =
        benchmark::Counter(SurveyFrames, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VideoExport)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The pictures the export hands to the writer, drawn once beforehand.
const std::vector<QImage> &predrawnPictures()
{
    static const std::vector<QImage> pictures = [] {
        std::vector<QImage> drawn;
        SilentMessageSink messages;
        AnimationDocument doc(messages);
        if (!doc.open(surveyPath(), nullptr))
            return drawn;
        SonarImage image;
        image.setPalette(0, 255, 256, false);
        MovieFrame frame(Size);
        drawn.reserve(SurveyFrames);
        for (int i = 0; i < doc.frameCount() && doc.loadFrame(i, true); ++i) {
            image.renderFrame(doc.current().samples.data(), doc.current().header.roll);
            drawn.push_back(frame.draw(image, overlayOf(doc, i), true).copy());
        }
        return drawn;
    }();
    return pictures;
}

void BM_EncodeOnly(benchmark::State &state)
{
    const std::vector<QImage> &pictures = predrawnPictures();
    if (pictures.size() != SurveyFrames) {
        state.SkipWithError("cannot draw the survey's frames");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double processorStart = processorSeconds();
        AviMovieWriter writer(moviePath(), fourCharacterCode("Xvid"), Rate);
        for (const QImage &picture : pictures)
            if (appendPicture(writer, picture) != 0) {
                state.SkipWithError(writer.lastError().c_str());
                return;
            }
        if (!writer.release()) {
            state.SkipWithError(writer.lastError().c_str());
            return;
        }
        encodingRates.push_back(static_cast<double>(pictures.size()) / secondsSince(start));
        encodingCpu.push_back((processorSeconds() - processorStart) * 1000 /
                              static_cast<double>(pictures.size()));
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(pictures.size()),
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Drawing the overlay texts needs a GUI application.
    QGuiApplication application(argc, argv);
    // The runs of the two alternate, so that a busy moment of the machine
    // falls on both alike; a later argument may say otherwise.
    std::vector<char *> arguments(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string repetitions = "--benchmark_repetitions=5";
    arguments.insert(arguments.begin() + 1, {interleave.data(), repetitions.data()});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    // Both are made before the runs start: a survey of 2,000 frames on disk
    // and its 2,000 pictures in memory.
    predrawnPictures();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double endToEnd = median(endToEndRates);
    const double encoding = median(encodingRates);
    if (endToEnd > 0 && encoding > 0)
        std::printf("medians of %zu and %zu runs: end to end %.0f fps, encoding alone %.0f fps: "
                    "end to end at %.2f of the speed of encoding alone\n",
                    endToEndRates.size(), encodingRates.size(), endToEnd, encoding,
                    endToEnd / encoding);
    std::printf("processor time per frame (medians): end to end %.2f ms, encoding alone %.2f ms\n",
                median(endToEndCpu), median(encodingCpu));
    std::error_code ignored;
    fs::remove(moviePath(), ignored);
    fs::remove(surveyPath(), ignored);
    return 0;
}
