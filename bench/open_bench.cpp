// Opening a survey: a plain sequential read() of the file against
// AnimationDocument::open, which reads it once and derives every frame.
// The survey (2,000 simulated frames, about 200 MB) is written once and read
// from the page cache.
//
//   build/bin/open-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "core/display/Sediment.h"
#include "core/document/AnimationDocument.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace dorvane;

namespace {

constexpr int SurveyFrames = 2000;

const std::string &surveyPath()
{
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "dorvane-open-bench.Imv";
        SilentMessageSink messages;
        SurveySimulator::Options options;
        options.seed = 42;
        writeSimulatedSurvey(file.string(), SurveySimulator(options), SurveyFrames, nullptr,
                             messages);
        return file.string();
    }();
    return path;
}

int64_t surveyBytes()
{
    return static_cast<int64_t>(std::filesystem::file_size(surveyPath()));
}

void BM_SequentialRead(benchmark::State &state)
{
    const std::string &path = surveyPath();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        while (::read(fd, buffer.data(), buffer.size()) > 0)
            benchmark::DoNotOptimize(buffer.data());
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * surveyBytes());
}
BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenDocument(benchmark::State &state)
{
    const std::string &path = surveyPath();
    SilentMessageSink messages;
    AnimationDocument document(messages);
    for (auto _ : state) {
        if (!document.open(path, nullptr))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(document.derived().sedimentDepth().data());
    }
    state.SetBytesProcessed(state.iterations() * surveyBytes());
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnalyseFrame(benchmark::State &state)
{
    SurveySimulator::Options options;
    options.seed = 42;
    auto frame = std::make_unique<FrameRecord>();
    SurveySimulator(options).makeFrame(150, *frame);
    for (auto _ : state) {
        const FrameAnalysis a = analyseFrame(*frame, PictureCentre);
        benchmark::DoNotOptimize(a.sedimentDepth);
    }
}
BENCHMARK(BM_AnalyseFrame);

} // namespace

BENCHMARK_MAIN();
