// One picture of the 3D pipe model at 500 x 500 (drawn, finished and read
// back), for a 2,000- and a 10,000-frame survey. Needs OpenGL: on a machine
// without a display run it under Xvfb, where Mesa's llvmpipe draws.
//
//   QT_QPA_PLATFORM=offscreen build/bin/pipe-render-bench
//       --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"
#include "render/PipeRenderer.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

using namespace dorvane;

namespace {

// A pipe of 150 pixels whose wall wanders a few percent, with sediment
// filling the bottom beams.
std::vector<RadiusProfile> surveyProfiles(int frames)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> wander(-6, 6);
    std::vector<RadiusProfile> profiles(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        RadiusProfile &p = profiles[static_cast<size_t>(i)];
        const int sediment = 20 + static_cast<int>(15 * std::sin(i * 0.01));
        for (int beam = 0; beam < BeamCount; ++beam) {
            const bool bottom = std::abs(beam - 200) < sediment;
            p[static_cast<size_t>(beam)] =
                static_cast<uint32_t>(bottom ? 90 : 150 + wander(random));
        }
        p[BeamCount] = 150;
        p[BeamCount + 1] = 20;
    }
    return profiles;
}

void BM_RenderPipe(benchmark::State &state)
{
    const int frames = static_cast<int>(state.range(0));
    const int viewpoint = static_cast<int>(state.range(1));
    const auto renderer = PipeRenderer::create(QSize(500, 500));
    if (!renderer) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    const auto profiles = surveyProfiles(frames);
    PipeMesh mesh;
    mesh.build(profiles);
    const int runs = mesh.runCount();
    renderer->setModel(mesh);
    PipeCamera &camera = renderer->camera();
    camera.modelBuilt();
    camera.setViewpoint(viewpoint, renderer->modelLength());
    renderer->setDrawEveryBand(state.range(2) != 0);
    // The first picture compiles the shaders for the software renderer.
    renderer->render();
    int frame = frames / 2;
    for (auto _ : state) {
        // Playback: the band and the model move on every picture.
        renderer->setHighlight(frame);
        camera.followFrame(frame);
        frame = frame + 1 < frames - 1 ? frame + 1 : frames / 2;
        if (!renderer->render())
            state.SkipWithError("render failed");
    }
    state.counters["draw_calls"] = renderer->drawCalls();
    state.counters["strips"] = runs;
}
// frames, viewpoint (0 outside, 1 inside, 2 far, 3 centre), every band drawn.
BENCHMARK(BM_RenderPipe)
    ->ArgsProduct({{2000, 10000}, {0, 1, 2, 3}, {0}})
    ->Args({2000, 3, 1})
    ->Args({10000, 3, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
