#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/ConsoleSinks.h"
#include "cli/FigureText.h"
#include "core/export/SummaryCsv.h"
#include "core/library/LibraryScan.h"
#include "core/library/SurveyCatalogue.h"

#include <CLI/App.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace dorvane::cli {

namespace {

struct LibraryOptions
{
    std::string db;
    std::string grades;
    std::vector<std::string> folders; // add
    std::string folder;               // remove
    bool json = false;
    bool csv = false;
    int gradeAtLeast = 0;
    std::string search;
    CLI::App *add = nullptr;
    CLI::App *scan = nullptr;
    CLI::App *list = nullptr;
    CLI::App *remove = nullptr;
};

int runScan(SurveyCatalogue &catalogue, const std::string &gradesPath)
{
    const auto grades = chosenGradingTable(gradesPath);
    if (!grades)
        return 1;
    StderrProgressSink progress;
    ScanOptions options;
    options.progress = [&progress](int done, int total) { progress.postProgress(done, total); };
    const ScanResult r = scanLibrary(catalogue, *grades, options);
    progress.postProgress(-1, -1);
    std::printf("unchanged: %d\nadded: %d\nupdated: %d\nremoved: %d\nunreadable: %d\n", r.unchanged,
                r.added, r.updated, r.removed, r.unreadable);
    if (r.failed > 0) {
        std::fprintf(stderr, "tessiq-cli: %d surveys could not be catalogued: %s\n", r.failed,
                     catalogue.lastError().c_str());
        return 1;
    }
    return 0;
}

int runAdd(SurveyCatalogue &catalogue, const LibraryOptions &o)
{
    for (const std::string &folder : o.folders) {
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            std::fprintf(stderr, "tessiq-cli: not a folder: %s\n", folder.c_str());
            return 1;
        }
    }
    for (const std::string &folder : o.folders)
        catalogue.addFolder(folder);
    return runScan(catalogue, o.grades);
}

int runRemove(SurveyCatalogue &catalogue, const std::string &folder)
{
    if (catalogue.removeFolder(folder))
        return 0;
    std::fprintf(stderr, "tessiq-cli: not a library folder: %s\n", folder.c_str());
    return 1;
}

nlohmann::ordered_json entryJson(const CatalogueEntry &e)
{
    const SurveyFigures &f = e.figures;
    return {{"path", e.path},
            {"size", e.stamp.size},
            {"mtime_ns", e.stamp.modifiedNs},
            {"indexed_at", e.indexedAt},
            {"error",
             e.error.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(e.error)},
            {"place", f.place},
            {"start_well", f.startWell},
            {"end_well", f.endWell},
            {"frame_count", f.frameCount},
            {"first_cable_m", f.firstCableM},
            {"last_cable_m", f.lastCableM},
            {"surveyed_length_m", f.surveyedLengthM},
            {"average_sediment_permille", f.averageSedimentPermille},
            {"max_sediment_depth_pct", jsonNumber(f.maxSedimentDepthPct)},
            {"worst_deposit_grade", f.worstDepositGrade},
            {"worst_deformation_grade", f.worstDeformationGrade},
            {"sediment_volume_m3", f.sedimentVolumeM3},
            {"mean_capacity_loss_pct", jsonNumber(f.meanCapacityLossPct)},
            {"max_capacity_loss_pct", jsonNumber(f.maxCapacityLossPct)}};
}

std::string csvLine(const CatalogueEntry &e)
{
    const SurveyFigures &f = e.figures;
    std::string line = csvField(e.path);
    for (const std::string *text : {&f.place, &f.startWell, &f.endWell})
        line += "," + csvField(*text);
    line += "," + std::to_string(f.frameCount);
    for (const double value : {f.firstCableM, f.lastCableM, f.surveyedLengthM})
        line += "," + number(value);
    line += "," + std::to_string(f.averageSedimentPermille) + "," + number(f.maxSedimentDepthPct) +
            "," + std::to_string(f.worstDepositGrade) + "," +
            std::to_string(f.worstDeformationGrade) + "," + number(f.sedimentVolumeM3) + "," +
            number(f.meanCapacityLossPct) + "," + number(f.maxCapacityLossPct) + "," +
            csvField(e.error);
    return line + "\n";
}

// One line a survey: the figures in columns, then the place and wells, then
// the path (the texts last, where their width does not matter).
std::string tableLine(const CatalogueEntry &e)
{
    const SurveyFigures &f = e.figures;
    char figures[96];
    if (!e.error.empty())
        std::snprintf(figures, sizeof figures, "%5s %6s %9s %7s %11s", "-", "-", "-", "-", "-");
    else
        std::snprintf(figures, sizeof figures, "%5d %6d %9.1f %7d %11d", f.worstGrade(),
                      f.frameCount, f.surveyedLengthM, f.worstDepositGrade,
                      f.worstDeformationGrade);
    std::string line = std::string(figures) + "  ";
    if (e.error.empty())
        line += f.place + " " + f.startWell + "-" + f.endWell + "  " + e.path;
    else
        line += e.path + "  (" + e.error + ")";
    return line + "\n";
}

int runList(const SurveyCatalogue &catalogue, const LibraryOptions &o)
{
    CatalogueQuery query;
    query.search = o.search;
    query.gradeAtLeast = o.gradeAtLeast;
    const std::vector<CatalogueEntry> entries = catalogue.list(query);
    if (o.json) {
        nlohmann::ordered_json document = {{"database", catalogue.path()},
                                           {"folders", catalogue.folders()},
                                           {"entries", nlohmann::ordered_json::array()}};
        for (const CatalogueEntry &e : entries)
            document["entries"].push_back(entryJson(e));
        // Texts that are no UTF-8 (a path from an older system) are kept
        // readable rather than refused.
        std::puts(document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        return 0;
    }
    if (o.csv) {
        std::fputs("path,place,start_well,end_well,frame_count,first_cable_m,last_cable_m,"
                   "surveyed_length_m,average_sediment_permille,max_sediment_depth_pct,"
                   "worst_deposit_grade,worst_deformation_grade,sediment_volume_m3,"
                   "mean_capacity_loss_pct,max_capacity_loss_pct,error\n",
                   stdout);
        for (const CatalogueEntry &e : entries)
            std::fputs(csvLine(e).c_str(), stdout);
        return 0;
    }
    std::printf("%5s %6s %9s %7s %11s  %s\n", "grade", "frames", "length_m", "deposit",
                "deformation", "place wells  path");
    for (const CatalogueEntry &e : entries)
        std::fputs(tableLine(e).c_str(), stdout);
    std::printf("%zu surveys\n", entries.size());
    return 0;
}

int runLibrary(const LibraryOptions &o)
{
    StderrMessageSink messages;
    const auto catalogue =
        SurveyCatalogue::open(o.db.empty() ? SurveyCatalogue::defaultPath() : o.db, messages);
    if (!catalogue)
        return 1;
    if (o.add->parsed())
        return runAdd(*catalogue, o);
    if (o.scan->parsed())
        return runScan(*catalogue, o.grades);
    if (o.remove->parsed())
        return runRemove(*catalogue, o.folder);
    return runList(*catalogue, o);
}

} // namespace

CommandAction addLibrary(CLI::App &command)
{
    auto o = std::make_shared<LibraryOptions>();
    command.require_subcommand(1);
    command.add_option("--db", o->db, "the library database (the user's own by default)")
        ->type_name("PATH");
    command
        .add_option("--grades", o->grades,
                    "the grading table (JSON; grades.json beside the program)")
        ->type_name("FILE");

    o->add = command.add_subcommand("add", "add folders of surveys and scan them");
    o->add->add_option("DIR", o->folders, "the folders")->type_name("")->required();
    o->scan = command.add_subcommand("scan", "bring the library up to date with its folders");
    o->list = command.add_subcommand("list", "list the catalogued surveys");
    CLI::Option *json = o->list->add_flag("--json", o->json, "write one JSON document");
    o->list->add_flag("--csv", o->csv, "write CSV with a header row")->excludes(json);
    addWholeNumber(*o->list, "--grade-at-least", o->gradeAtLeast, 0, 4, "N",
                   "only surveys with a defect of grade N or worse");
    o->list->add_option("--search", o->search, "only surveys whose place, wells or path hold it")
        ->type_name("TEXT");
    o->remove = command.add_subcommand("remove", "take a folder and its surveys out");
    o->remove->add_option("DIR", o->folder, "the folder")->type_name("")->required();
    // --db and --grades may come after the library's own command too.
    for (CLI::App *sub : {o->add, o->scan, o->list, o->remove})
        sub->fallthrough();
    return [o] { return runLibrary(*o); };
}

} // namespace dorvane::cli
