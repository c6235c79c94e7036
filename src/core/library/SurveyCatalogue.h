#pragma once

#include "core/library/SurveyFigures.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace dorvane {

class MessageSink;

// What identifies one version of a survey file: a rescan reads a file again
// only when one of these changed.
struct FileStamp
{
    uint64_t size = 0;
    int64_t modifiedNs = 0; // modification time, ns since the epoch
    uint64_t inode = 0;
    bool operator==(const FileStamp &) const = default;
};

// One catalogued survey file.
struct CatalogueEntry
{
    std::string path; // absolute
    FileStamp stamp;
    int64_t indexedAt = 0; // s since the epoch
    // Empty when the survey was read; otherwise why it could not be, and
    // the figures are left zero.
    std::string error;
    SurveyFigures figures;
};

// Which entries list() returns.
struct CatalogueQuery
{
    // Case-insensitive, in place, wells or path; empty: every entry.
    std::string search;
    // Only surveys whose worse worst grade is at least this (0: all).
    int gradeAtLeast = 0;
};

// The survey library's index: one SQLite database per user, shared by the
// window and the batch tool (WAL, busy timeout). It is only a cache of the
// surveys' own figures: a database that is damaged or not the library's is
// moved aside and rebuilt, and no survey file is ever written.
class SurveyCatalogue
{
public:
    ~SurveyCatalogue();
    SurveyCatalogue(const SurveyCatalogue &) = delete;
    SurveyCatalogue &operator=(const SurveyCatalogue &) = delete;

    // $XDG_DATA_HOME (or ~/.local/share)/Dorvane/Tessiq/library.sqlite.
    static std::string defaultPath();
    // Opens the database at path, making it and its folder when missing and
    // bringing an older schema up to date. A damaged or foreign file is
    // renamed "<path>.damaged-<time>", told (text::LibraryRebuilt with the
    // new name) and a new one made. Null, told, when none can be had.
    static std::unique_ptr<SurveyCatalogue> open(const std::string &path, MessageSink &messages);

    const std::string &path() const { return m_path; }

    // The folders scanned, absolute, in the order added.
    std::vector<std::string> folders() const;
    // Adds a folder (made absolute); false when it was there already.
    bool addFolder(const std::string &folder);
    // Removes the folder and every entry under it that no other folder
    // holds; false when it was not a library folder.
    bool removeFolder(const std::string &folder);

    // Every entry's stamp, by path, for a rescan.
    std::vector<std::pair<std::string, FileStamp>> stamps() const;
    // Writes one entry (new or replacing the one of its path) in one
    // transaction.
    bool put(const CatalogueEntry &entry);
    bool remove(const std::string &path);
    std::optional<CatalogueEntry> entry(const std::string &path) const;
    // The entries the query matches, by path.
    std::vector<CatalogueEntry> list(const CatalogueQuery &query = {}) const;
    int size() const;

    // The last SQLite error, for messages.
    std::string lastError() const;

private:
    SurveyCatalogue(sqlite3 *db, std::string path);

    sqlite3 *m_db;
    std::string m_path;
};

} // namespace dorvane
