// Building the 3D pipe model from the radius profiles of a survey, as the
// window does once a survey is open: 10,000 frames (a long pipe) and 2,000.
// The profiles are made up: a pipe radius of 150 px, beams wandering up to
// 4 % around it, a few beams without an echo, and a bed of sediment along
// the bottom whose width rises and falls along the pipe, its beams far
// inside the wall; error rate 20 %.
//
//   build/bin/mesh-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// ms_per_build and us_per_frame are wall-clock times.

#include "core/display/Sediment.h"
#include "core/view3d/PipeMesh.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

using namespace dorvane;

namespace {

constexpr uint32_t PipeRadius = 150;
constexpr uint32_t ErrorRate = 20;
constexpr int BottomBeam = 200;

std::vector<RadiusProfile> syntheticSurvey(int frames)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> wander(-6, 6);
    std::uniform_int_distribution<int> sediment(80, 110);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<RadiusProfile> profiles(static_cast<size_t>(frames));
    for (int f = 0; f < frames; ++f) {
        RadiusProfile &p = profiles[static_cast<size_t>(f)];
        // The bed covers up to 60 beams either side of the bottom, and none
        // where the wave is below zero.
        const int bed = static_cast<int>(60.0 * std::sin(f * 0.013));
        for (int b = 0; b < BeamCount; ++b) {
            int radius = static_cast<int>(PipeRadius) + wander(random);
            if (std::abs(b - BottomBeam) < bed)
                radius = sediment(random);
            else if (percent(random) == 0)
                radius = 0;
            p[static_cast<size_t>(b)] = static_cast<uint32_t>(radius);
        }
        p[BeamCount] = PipeRadius;
        p[BeamCount + 1] = ErrorRate;
    }
    return profiles;
}

const std::vector<RadiusProfile> &survey(int frames)
{
    static std::map<int, std::vector<RadiusProfile>> surveys;
    auto found = surveys.find(frames);
    if (found == surveys.end())
        found = surveys.emplace(frames, syntheticSurvey(frames)).first;
    return found->second;
}

void BM_BuildPipeModel(benchmark::State &state)
{
    const int frames = static_cast<int>(state.range(0));
    const std::vector<RadiusProfile> &profiles = survey(frames);
    PipeMesh mesh;
    double milliseconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!mesh.build(profiles))
            state.SkipWithError("no memory for the model");
        benchmark::DoNotOptimize(mesh.runCount());
        benchmark::ClobberMemory();
        milliseconds +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    // Averaged over the builds.
    using Counter = benchmark::Counter;
    state.counters["ms_per_build"] = Counter(milliseconds, Counter::kAvgIterations);
    state.counters["us_per_frame"] = Counter(milliseconds * 1000 / frames, Counter::kAvgIterations);
    state.counters["built_vertices"] = mesh.builtVertexCount();
    state.counters["runs"] = mesh.runCount();
}
BENCHMARK(BM_BuildPipeModel)->Arg(10000)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
