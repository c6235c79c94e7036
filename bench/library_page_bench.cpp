// The library page with 10,000 catalogued surveys: the interface thread's
// work to list them, to sort them by a text and by a number column, and to
// search them. Each must stay well inside 50 ms, so that the page never
// stalls.
#include "core/library/SurveyCatalogue.h"
#include "ui/library/LibraryFilter.h"
#include "ui/library/LibraryModel.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

using namespace dorvane;

namespace {

constexpr int Surveys = 10000;

std::vector<CatalogueEntry> catalogue()
{
    std::vector<CatalogueEntry> entries(Surveys);
    for (int i = 0; i < Surveys; ++i) {
        CatalogueEntry &e = entries[static_cast<size_t>(i)];
        const int section = (i * 7919) % Surveys;
        e.path = "/data/project/district-" + std::to_string(section % 40) + "/section-" +
                 std::to_string(section) + ".Imv";
        SurveyFigures &f = e.figures;
        f.place = "滨江路" + std::to_string(section % 300) + "号 雨水管";
        f.startWell = "Y" + std::to_string(section);
        f.endWell = "Y" + std::to_string(section + 1);
        f.frameCount = 100 + section % 500;
        f.surveyedLengthM = 0.1 * f.frameCount;
        f.averageSedimentPermille = section % 700;
        f.maxSedimentDepthPct = (section % 600) / 10.0;
        f.worstDepositGrade = section % 5;
        f.worstDeformationGrade = (section / 5) % 5;
        f.sedimentVolumeM3 = (section % 1000) / 100.0;
        f.meanCapacityLossPct = (section % 300) / 10.0;
        f.maxCapacityLossPct = (section % 500) / 10.0;
    }
    return entries;
}

void listTenThousand(benchmark::State &state)
{
    const std::vector<CatalogueEntry> entries = catalogue();
    LibraryModel model;
    LibraryFilter filter(model);
    filter.sort(LibraryModel::PlaceColumn);
    for (auto _ : state)
        model.setEntries(entries);
}

void sortTenThousand(benchmark::State &state)
{
    LibraryModel model;
    model.setEntries(catalogue());
    LibraryFilter filter(model);
    const int column = static_cast<int>(state.range(0));
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        filter.sort(column, order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
}

void searchTenThousand(benchmark::State &state)
{
    LibraryModel model;
    model.setEntries(catalogue());
    LibraryFilter filter(model);
    filter.sort(LibraryModel::PlaceColumn);
    bool narrow = false;
    for (auto _ : state) {
        filter.setSearch(narrow ? "y1234" : "district-3");
        narrow = !narrow;
    }
    state.counters["rows"] = filter.rowCount();
}

} // namespace

BENCHMARK(listTenThousand)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(sortTenThousand)
    ->Arg(LibraryModel::PlaceColumn)
    ->Arg(LibraryModel::VolumeColumn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(searchTenThousand)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
