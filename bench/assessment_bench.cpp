// The condition assessment of a 10,000-frame survey from its derived values:
// every frame's figures, the graded records and the section's summary; and
// the assessment page's chart of it redrawn, as each frame shown does.
#include "core/assess/ConditionAssessment.h"
#include "core/document/DerivedFrames.h"
#include "render/AssessmentChartPicture.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace dorvane;

namespace {

// A 600 mm pipe seen at 4.8 mm a pixel, its wall a little out of round, a
// sediment that rises and falls along the pipe and a few beams without echo.
DerivedFrames longSurvey(int frames)
{
    DerivedFrames derived;
    derived.resize(frames);
    for (int i = 0; i < frames; ++i) {
        FrameHeader header;
        header.pipeRadius = 600;
        header.detectRadius = 1200;
        header.cableLength = 0.1f * static_cast<float>(i);
        FrameAnalysis analysis;
        for (int b = 0; b < BeamCount; ++b) {
            analysis.peakSamples[b] = (b * 7 + i) % 97 == 0 ? 0 : 120;
            analysis.radii[b] = static_cast<uint32_t>(125 + 3 * std::sin(b * 0.0314 + i * 0.01));
        }
        const int depth = static_cast<int>(300 + 250 * std::sin(i * 0.002));
        analysis.sedimentDepth = depth;
        analysis.sedimentPermille = depth / 4;
        derived.store(i, header, analysis);
    }
    return derived;
}

void assessTenThousandFrames(benchmark::State &state)
{
    const DerivedFrames derived = longSurvey(10000);
    const GradingTable grades = GradingTable::standard();
    size_t records = 0;
    for (auto _ : state) {
        const ConditionAssessment a = assessSurvey(derived, grades);
        records = a.records.size();
        benchmark::DoNotOptimize(a.summary.sedimentVolumeM3);
    }
    state.counters["records"] = static_cast<double>(records);
}

// The page's chart in the 500-pixel view area, the current frame moving on.
void redrawChartOfTenThousandFrames(benchmark::State &state)
{
    const DerivedFrames derived = longSurvey(10000);
    const GradingTable grades = GradingTable::standard();
    const ConditionAssessment a = assessSurvey(derived, grades);
    int current = 0;
    for (auto _ : state) {
        const QImage chart =
            drawAssessmentChart(a, derived.cableLengths(), grades, QSize(500, 500), current, true);
        benchmark::DoNotOptimize(chart.constBits());
        current = (current + 37) % 10000;
    }
}

} // namespace

BENCHMARK(assessTenThousandFrames)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(redrawChartOfTenThousandFrames)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    // Text is drawn with the platform's fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
