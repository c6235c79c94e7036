// The report of a 2,000-frame survey with 20 frames marked, written as .docx
// (no LibreOffice), whole and by stage: the pictures (chart, four 3D views,
// the marked frames) and the filling of the document. The 3D views need
// OpenGL: without a display run it under Xvfb.
//
//   QT_QPA_PLATFORM=offscreen build/bin/report-bench
//       --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "core/document/AnimationDocument.h"
#include "core/export/ExportFolder.h"
#include "core/export/ReportContent.h"
#include "core/export/ReportTexts.h"
#include "core/export/WordProcessor.h"
#include "core/export/WordReport.h"
#include "render/ReportExport.h"
#include "render/ReportPictures.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace dorvane;

namespace {

constexpr int Frames = 2000;
constexpr int Marked = 20;

// A simulated survey with every hundredth frame marked for the report.
class Survey
{
public:
    Survey()
    {
        m_folder = ExportFolder::create();
        m_path = m_folder->path() + "survey.Imv";
        SilentMessageSink silent;
        SurveySimulator simulator(SurveySimulator::Options{});
        writeSimulatedSurvey(m_path, simulator, Frames, nullptr, silent);
        AnimationDocument document(silent);
        document.open(m_path, nullptr);
        for (int i = 0; i < Frames; ++i) {
            document.loadFrame(i, false);
            document.editCurrentHeader(
                [i](FrameHeader &h) { h.reportShot = i % (Frames / Marked) == 0 ? 1 : 0; });
            document.saveCurrent();
        }
    }
    const std::string &path() const { return m_path; }
    std::string output() const { return m_folder->path() + "report.docx"; }

private:
    std::unique_ptr<ExportFolder> m_folder;
    std::string m_path;
};

const Survey &survey()
{
    static const Survey s;
    return s;
}

void BM_WholeReport(benchmark::State &state)
{
    SilentMessageSink silent;
    AnimationDocument document(silent);
    document.open(survey().path(), nullptr);
    for (auto _ : state)
        if (!writeReport(document, survey().output(), false, nullptr, silent))
            state.SkipWithError("no report");
}
BENCHMARK(BM_WholeReport)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Pictures(benchmark::State &state)
{
    SilentMessageSink silent;
    AnimationDocument document(silent);
    document.open(survey().path(), nullptr);
    for (auto _ : state) {
        ReportContent content;
        if (!buildReportPictures(document, content, nullptr, silent) ||
            content.frames.size() != Marked)
            state.SkipWithError("pictures missing");
    }
}
BENCHMARK(BM_Pictures)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FillDocument(benchmark::State &state)
{
    SilentMessageSink silent;
    AnimationDocument document(silent);
    document.open(survey().path(), nullptr);
    ReportContent content;
    content.texts = reportTexts(document);
    if (!buildReportPictures(document, content, nullptr, silent))
        state.SkipWithError("pictures missing");
    for (auto _ : state) {
        const auto application = startWordProcessor(survey().output());
        if (fillWordReport(application.get(), reportTemplatePath(false), survey().output(), content,
                           nullptr)
                .outcome != WordReportResult::Written)
            state.SkipWithError("not written");
    }
}
BENCHMARK(BM_FillDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
