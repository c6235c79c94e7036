// Sonar picture rendering: the literal cell-by-cell pass against the
// renderer, and the one-off cost of the pixel map.
//
//   build/bin/render-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/data/FrameRecord.h"
#include "core/display/PixelGatherTable.h"
#include "core/display/PixelMapTable.h"
#include "core/display/SonarImage.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

using namespace dorvane;

namespace {

std::vector<uint8_t> noisySamples()
{
    std::mt19937 random(11);
    std::vector<uint8_t> samples(SampleCount);
    for (auto &s : samples)
        s = static_cast<uint8_t>(random());
    return samples;
}

// Rolls that cycle through the shifts -40..40 from frame to frame.
float rollOf(int64_t iteration)
{
    return static_cast<float>(iteration % 81 - 40) * 0.9f;
}

void BM_RenderCellByCell(benchmark::State &state)
{
    PixelMapTable::instance();
    const auto samples = noisySamples();
    std::vector<uint8_t> pixels(SonarImage::PixelCount, 255);
    int64_t i = 0;
    for (auto _ : state) {
        renderFrameCellByCell(pixels.data(), samples.data(), rollOf(i++));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderCellByCell);

void BM_RenderFrame(benchmark::State &state)
{
    PixelGatherTable::instance();
    const auto samples = noisySamples();
    SonarImage image;
    int64_t i = 0;
    for (auto _ : state) {
        image.renderFrame(samples.data(), rollOf(i++));
        benchmark::DoNotOptimize(image.pixels());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderFrame);

void BM_ComputePixelMap(benchmark::State &state)
{
    for (auto _ : state) {
        PixelMapTable table = PixelMapTable::compute();
        benchmark::DoNotOptimize(table.codeCount());
    }
}
BENCHMARK(BM_ComputePixelMap)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
