// The survey library: a rescan that finds nothing changed over 10,000
// catalogued files (a stat and a compare each), a first scan of 200 surveys
// of 300 frames on one worker and on two, and the database's size with
// 10,000 entries.
//
// The 200 surveys are 20 simulated ones, each under 10 names (hard links):
// every name is a survey of its own to the library, read again in full, and
// the disk holds 600 MB instead of 6 GB. They are read from the page cache.
//
//   build/bin/library-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"
#include "core/library/LibraryScan.h"
#include "core/library/SurveyCatalogue.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace dorvane;
namespace fs = std::filesystem;

namespace {

constexpr int CataloguedFiles = 10000;
constexpr int ScannedSurveys = 200;
constexpr int DistinctSurveys = 20;
constexpr int SurveyFrames = 300;

// A folder of the benchmark's own, removed at exit.
class BenchFolder
{
public:
    BenchFolder()
    {
        std::string name = (fs::temp_directory_path() / "dorvane-library-bench-XXXXXX").string();
        m_path = ::mkdtemp(name.data()) ? name : std::string();
    }
    ~BenchFolder() { fs::remove_all(m_path); }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

const BenchFolder &benchFolder()
{
    static const BenchFolder folder;
    return folder;
}

// An entry as a survey of a real project gives it: a long path, a place in
// Chinese, wells and every figure.
CatalogueEntry entryFor(const std::string &path, const FileStamp &stamp, int i)
{
    CatalogueEntry e;
    e.path = path;
    e.stamp = stamp;
    e.indexedAt = 1'790'000'000 + i;
    SurveyFigures &f = e.figures;
    f.place = "滨江路与解放大道交叉口东侧 " + std::to_string(i);
    f.startWell = "Y" + std::to_string(1000 + i);
    f.endWell = "Y" + std::to_string(1001 + i);
    f.frameCount = 300 + i % 700;
    f.firstCableM = 0.1;
    f.lastCableM = 0.1 * f.frameCount;
    f.surveyedLengthM = f.lastCableM - f.firstCableM;
    f.averageSedimentPermille = i % 400;
    f.maxSedimentDepthPct = 12.5 + i % 30;
    f.worstDepositGrade = i % 5;
    f.worstDeformationGrade = (i / 5) % 5;
    f.sedimentVolumeM3 = 0.01 * i;
    f.meanCapacityLossPct = 4.5;
    f.maxCapacityLossPct = 21.0;
    return e;
}

FileStamp stampOf(const std::string &path)
{
    struct stat s
    {};
    ::stat(path.c_str(), &s);
    return {static_cast<uint64_t>(s.st_size),
            static_cast<int64_t>(s.st_mtim.tv_sec) * 1'000'000'000 + s.st_mtim.tv_nsec,
            static_cast<uint64_t>(s.st_ino)};
}

// 10,000 small files in 100 folders, each catalogued with its stamp.
const std::string &cataloguedFolder()
{
    static const std::string folder = [] {
        const std::string root = benchFolder().path() + "/catalogued";
        for (int i = 0; i < CataloguedFiles; ++i) {
            const std::string dir = root + "/district-" + std::to_string(i / 100);
            if (i % 100 == 0)
                fs::create_directories(dir);
            std::ofstream(dir + "/Y" + std::to_string(1000 + i) + "-Y" + std::to_string(1001 + i) +
                          ".img")
                << "frame";
        }
        return root;
    }();
    return folder;
}

std::string fillLibrary(const std::string &db)
{
    SilentMessageSink messages;
    auto catalogue = SurveyCatalogue::open(db, messages);
    const std::string &folder = cataloguedFolder();
    catalogue->addFolder(folder);
    for (int i = 0; i < CataloguedFiles; ++i) {
        const std::string path = folder + "/district-" + std::to_string(i / 100) + "/Y" +
                                 std::to_string(1000 + i) + "-Y" + std::to_string(1001 + i) +
                                 ".img";
        catalogue->put(entryFor(path, stampOf(path), i));
    }
    return db;
}

void BM_RescanUnchanged10000(benchmark::State &state)
{
    static const std::string db = fillLibrary(benchFolder().path() + "/rescan.sqlite");
    SilentMessageSink messages;
    auto catalogue = SurveyCatalogue::open(db, messages);
    const GradingTable grades = GradingTable::standard();
    ScanResult r;
    for (auto _ : state)
        r = scanLibrary(*catalogue, grades);
    state.counters["unchanged"] = r.unchanged;
    state.counters["read"] = r.added + r.updated + r.unreadable;
}
BENCHMARK(BM_RescanUnchanged10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the library page reads on the interface thread after each scan.
void BM_List10000(benchmark::State &state)
{
    static const std::string db = fillLibrary(benchFolder().path() + "/list.sqlite");
    SilentMessageSink messages;
    auto catalogue = SurveyCatalogue::open(db, messages);
    size_t listed = 0;
    for (auto _ : state)
        listed = catalogue->list().size();
    state.counters["entries"] = static_cast<double>(listed);
}
BENCHMARK(BM_List10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Writes 10,000 entries, one transaction each, and reports the file's size
// once the connection is closed (its journal folded in).
void BM_Put10000Entries(benchmark::State &state)
{
    static int round = 0;
    double megabytes = 0;
    for (auto _ : state) {
        const std::string db =
            benchFolder().path() + "/size-" + std::to_string(round++) + ".sqlite";
        fillLibrary(db);
        state.PauseTiming();
        megabytes = static_cast<double>(fs::file_size(db)) / 1e6;
        state.ResumeTiming();
    }
    state.counters["db_MB"] = megabytes;
}
BENCHMARK(BM_Put10000Entries)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

const std::string &surveyFolder()
{
    static const std::string folder = [] {
        const std::string root = benchFolder().path() + "/surveys";
        fs::create_directories(root);
        SilentMessageSink messages;
        for (int s = 0; s < DistinctSurveys; ++s) {
            SurveySimulator::Options options;
            options.seed = static_cast<uint64_t>(s + 1);
            const std::string first = root + "/s" + std::to_string(s) + "-0.Imv";
            writeSimulatedSurvey(first, SurveySimulator(options), SurveyFrames, nullptr, messages);
            for (int copy = 1; copy < ScannedSurveys / DistinctSurveys; ++copy)
                fs::create_hard_link(first, root + "/s" + std::to_string(s) + "-" +
                                                std::to_string(copy) + ".Imv");
        }
        return root;
    }();
    return folder;
}

void BM_FirstScan200Surveys(benchmark::State &state)
{
    const std::string &folder = surveyFolder();
    const GradingTable grades = GradingTable::standard();
    ScanOptions options;
    options.workers = static_cast<int>(state.range(0));
    // Every run a new database, over the repetitions too.
    static int round = 0;
    ScanResult r;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string db = benchFolder().path() + "/scan-" + std::to_string(options.workers) +
                               "-" + std::to_string(round++) + ".sqlite";
        SilentMessageSink messages;
        auto catalogue = SurveyCatalogue::open(db, messages);
        catalogue->addFolder(folder);
        state.ResumeTiming();
        r = scanLibrary(*catalogue, grades, options);
    }
    state.counters["added"] = r.added;
    state.counters["surveys_per_s"] = benchmark::Counter(
        static_cast<double>(r.added), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FirstScan200Surveys)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
