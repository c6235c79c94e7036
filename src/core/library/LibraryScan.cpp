#include "core/library/LibraryScan.h"

#include "core/library/LibraryFolder.h"
#include "core/library/SurveyCatalogue.h"
#include "core/library/SurveyFileWalk.h"
#include "core/library/SurveyReaderPool.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

namespace dorvane {

namespace {

bool inAnyFolder(const std::string &path, const std::vector<std::string> &folders)
{
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string &folder) { return isInFolder(path, folder); });
}

// The files on the disk that are new or changed since they were catalogued;
// drops the entries whose file is gone and counts the unchanged.
std::vector<SurveyFile> filesToRead(SurveyCatalogue &catalogue,
                                    const std::unordered_map<std::string, FileStamp> &known,
                                    ScanResult &result)
{
    const std::vector<std::string> folders = catalogue.folders();
    // A folder that is not there at all (a share not mounted, a drive not
    // plugged in) keeps its entries: its files are not known to be gone.
    std::vector<std::string> reachable;
    for (const std::string &folder : folders) {
        std::error_code error;
        if (std::filesystem::is_directory(folder, error))
            reachable.push_back(folder);
    }
    std::vector<SurveyFile> found = findSurveyFiles(reachable);
    std::unordered_set<std::string> seen;
    seen.reserve(found.size());
    for (const SurveyFile &file : found)
        seen.insert(file.path);
    for (const auto &[path, stamp] : known) {
        if (seen.count(path))
            continue;
        bool gone = true;
        if (inAnyFolder(path, reachable)) {
            // Missed by the walk but maybe still there, behind a folder
            // that could not be listed: only a file that is gone is dropped.
            if (const auto now = surveyFileStamp(path, gone)) {
                found.push_back({path, *now});
                continue;
            }
        } else if (inAnyFolder(path, folders)) {
            continue;
        }
        if (gone && catalogue.remove(path))
            ++result.removed;
    }

    std::vector<SurveyFile> changed;
    for (SurveyFile &file : found) {
        const auto entry = known.find(file.path);
        if (entry != known.end() && entry->second == file.stamp)
            ++result.unchanged;
        else
            changed.push_back(std::move(file));
    }
    return changed;
}

} // namespace

ScanResult scanLibrary(SurveyCatalogue &catalogue, const GradingTable &grades,
                       const ScanOptions &options)
{
    ScanResult result;
    std::unordered_map<std::string, FileStamp> known;
    for (auto &[path, stamp] : catalogue.stamps())
        known.emplace(std::move(path), stamp);
    const std::vector<SurveyFile> files = filesToRead(catalogue, known, result);

    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const SurveyFile &file : files)
        paths.push_back(file.path);
    const int total = static_cast<int>(files.size());
    int done = 0;
    // The stamps are those from before the read: a file changed while it
    // was read is read again by the next scan.
    SurveyReaderPool pool(std::move(paths), grades, options.workers, options.cancel);
    while (auto read = pool.next()) {
        const SurveyFile &file = files[read->index];
        CatalogueEntry entry;
        entry.path = file.path;
        entry.stamp = file.stamp;
        entry.indexedAt = static_cast<int64_t>(std::time(nullptr));
        if (read->figures)
            entry.figures = std::move(*read->figures);
        else
            entry.error = read->error.empty() ? file.path : read->error;
        if (!catalogue.put(entry))
            ++result.failed;
        else if (!read->figures)
            ++result.unreadable;
        else if (known.count(file.path))
            ++result.updated;
        else
            ++result.added;
        ++done;
        if (options.progress)
            options.progress(done, total);
        // What is read but not yet written is left to the next scan.
        if (options.cancel && options.cancel->load())
            break;
    }
    result.cancelled = done < total;
    return result;
}

} // namespace dorvane
