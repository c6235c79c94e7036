// Video export of a 2,000-frame survey at 500 x 500, as `tessiq-cli video
// --texts` does it: opening the survey, drawing each frame as the frame view
// draws it, encoding and writing the movie; and, for comparison, encoding the
// same frames drawn beforehand. Both report frames per second; the ratio of
// the two is printed at the end.
//
//   build-release/bin/video-bench

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/AviMovieWriter.h"
#include "render/FrameOverlay.h"
#include "render/MovieFrame.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
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

// Frames per second of each benchmark's last run.
double endToEndRate = 0;
double encodingRate = 0;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_VideoExport(benchmark::State &state)
{
    surveyPath();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
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
            if (writer.appendFrame(frame.draw(image, overlayOf(doc, i), true)) != 0) {
                state.SkipWithError(writer.lastError().c_str());
                return;
            }
        }
        if (!writer.release()) {
            state.SkipWithError(writer.lastError().c_str());
            return;
        }
        endToEndRate = SurveyFrames / secondsSince(start);
    }
    state.counters["fps"] =
        benchmark::Counter(SurveyFrames, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VideoExport)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void BM_EncodeOnly(benchmark::State &state)
{
    // The bitmaps the export hands to the writer, drawn beforehand.
    std::vector<DibBlock> bitmaps;
    {
        SilentMessageSink messages;
        AnimationDocument doc(messages);
        if (!doc.open(surveyPath(), nullptr)) {
            state.SkipWithError("cannot open the survey");
            return;
        }
        SonarImage image;
        image.setPalette(0, 255, 256, false);
        MovieFrame frame(Size);
        bitmaps.reserve(SurveyFrames);
        for (int i = 0; i < doc.frameCount() && doc.loadFrame(i, true); ++i) {
            image.renderFrame(doc.current().samples.data(), doc.current().header.roll);
            bitmaps.push_back(frame.draw(image, overlayOf(doc, i), true));
        }
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        AviMovieWriter writer(moviePath(), fourCharacterCode("Xvid"), Rate);
        for (const DibBlock &bitmap : bitmaps)
            if (writer.appendFrame(bitmap) != 0) {
                state.SkipWithError(writer.lastError().c_str());
                return;
            }
        if (!writer.release()) {
            state.SkipWithError(writer.lastError().c_str());
            return;
        }
        encodingRate = static_cast<double>(bitmaps.size()) / secondsSince(start);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(bitmaps.size()),
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Drawing the overlay texts needs a GUI application.
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (endToEndRate > 0 && encodingRate > 0)
        std::printf("end to end %.0f fps, encoding alone %.0f fps: end to end takes %.2f times "
                    "as long\n",
                    endToEndRate, encodingRate, encodingRate / endToEndRate);
    std::error_code ignored;
    fs::remove(moviePath(), ignored);
    fs::remove(surveyPath(), ignored);
    return 0;
}
