#include "core/library/SurveyCatalogue.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/library/CatalogueSchema.h"
#include "core/library/LibraryFolder.h"
#include "core/library/SqliteStatement.h"
#include "core/library/SqliteTransaction.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

namespace dorvane {

namespace {

// The window and the batch tool may write at once: each waits this long for
// the other's transaction before giving up.
constexpr int BusyTimeoutMs = 5000;

struct CloseDatabase
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// The columns of an entry, in the order entryAt reads them and put binds them.
constexpr const char *EntryColumns =
    "path, size, mtime_ns, inode, indexed_at, error, place, start_well, end_well, frame_count,"
    " first_cable_m, last_cable_m, surveyed_length_m, average_sediment_permille,"
    " max_sediment_depth_pct, worst_deposit_grade, worst_deformation_grade,"
    " sediment_volume_m3, mean_capacity_loss_pct, max_capacity_loss_pct";

CatalogueEntry entryAt(const SqliteStatement &row)
{
    CatalogueEntry e;
    e.path = row.text(0);
    e.stamp = {static_cast<uint64_t>(row.integer(1)), row.integer(2),
               static_cast<uint64_t>(row.integer(3))};
    e.indexedAt = row.integer(4);
    e.error = row.text(5);
    SurveyFigures &f = e.figures;
    f.place = row.text(6);
    f.startWell = row.text(7);
    f.endWell = row.text(8);
    f.frameCount = static_cast<int>(row.integer(9));
    f.firstCableM = row.real(10);
    f.lastCableM = row.real(11);
    f.surveyedLengthM = row.real(12);
    f.averageSedimentPermille = static_cast<int>(row.integer(13));
    f.maxSedimentDepthPct = row.optionalReal(14);
    f.worstDepositGrade = static_cast<int>(row.integer(15));
    f.worstDeformationGrade = static_cast<int>(row.integer(16));
    f.sedimentVolumeM3 = row.real(17);
    f.meanCapacityLossPct = row.optionalReal(18);
    f.maxCapacityLossPct = row.optionalReal(19);
    return e;
}

// A LIKE pattern that finds the text anywhere, its own % and _ taken as
// they are.
std::string containsPattern(const std::string &text)
{
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

// Opens the database and brings its schema up to date.
Database connect(const std::string &path, SchemaCheck &check)
{
    sqlite3 *handle = nullptr;
    const int result =
        sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(handle);
    if (result != SQLITE_OK) {
        check = {SchemaCheck::State::Failed, db ? sqlite3_errmsg(db.get()) : "out of memory"};
        if ((result & 0xFF) == SQLITE_NOTADB || (result & 0xFF) == SQLITE_CORRUPT)
            check.state = SchemaCheck::State::Damaged;
        return nullptr;
    }
    sqlite3_busy_timeout(db.get(), BusyTimeoutMs);
    sqlite3_extended_result_codes(db.get(), 1);
    check = prepareCatalogueSchema(db.get());
    if (check.state != SchemaCheck::State::Ready)
        return nullptr;
    // The library is a cache of the surveys: in WAL a commit needs no sync
    // of its own to stay whole, only the last few may be lost to a crash.
    sqliteExec(db.get(), "PRAGMA synchronous=NORMAL");
    return db;
}

// Moves the damaged database (and its journal files) to
// "<path>.damaged-<local time>"; the new name, empty when it could not be.
std::string moveAside(const std::string &path, std::string &problem)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path + ".damaged-" + stamp;
    std::error_code error;
    // A second damage in the same second keeps the first one's file.
    for (int n = 2; std::filesystem::exists(name, error); ++n)
        name = path + ".damaged-" + stamp + "-" + std::to_string(n);
    if (std::rename(path.c_str(), name.c_str()) != 0) {
        problem = systemErrorText(errno);
        return {};
    }
    // A journal left behind would be taken up by the new database.
    for (const char *suffix : {"-wal", "-shm"})
        std::rename((path + suffix).c_str(), (name + suffix).c_str());
    return name;
}

} // namespace

SurveyCatalogue::SurveyCatalogue(sqlite3 *db, std::string path) : m_db(db), m_path(std::move(path))
{}

SurveyCatalogue::~SurveyCatalogue()
{
    sqlite3_close_v2(m_db);
}

std::string SurveyCatalogue::defaultPath()
{
    std::string folder;
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
        folder = data;
    } else {
        const char *home = std::getenv("HOME");
        folder = home && *home ? home : "";
        if (folder.empty())
            if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
                folder = user->pw_dir;
        folder += "/.local/share";
    }
    return folder + "/Dorvane/Tessiq/library.sqlite";
}

std::unique_ptr<SurveyCatalogue> SurveyCatalogue::open(const std::string &path,
                                                       MessageSink &messages)
{
    std::error_code error;
    if (const auto folder = std::filesystem::path(path).parent_path(); !folder.empty())
        std::filesystem::create_directories(folder, error);
    if (error) {
        messages.showMessage(text::LibraryUnavailable, path + ": " + error.message());
        return nullptr;
    }
    SchemaCheck check;
    Database db = connect(path, check);
    if (check.state == SchemaCheck::State::Damaged) {
        std::string problem;
        const std::string aside = moveAside(path, problem);
        if (aside.empty()) {
            messages.showMessage(text::LibraryUnavailable, path + ": " + problem);
            return nullptr;
        }
        messages.showMessage(text::LibraryRebuilt, aside);
        db = connect(path, check);
    }
    if (!db) {
        messages.showMessage(text::LibraryUnavailable, path + ": " + check.detail);
        return nullptr;
    }
    return std::unique_ptr<SurveyCatalogue>(new SurveyCatalogue(db.release(), path));
}

std::vector<std::string> SurveyCatalogue::folders() const
{
    std::vector<std::string> out;
    SqliteStatement select(m_db, "SELECT path FROM folders ORDER BY rowid");
    while (select.step() == SQLITE_ROW)
        out.push_back(select.text(0));
    return out;
}

bool SurveyCatalogue::addFolder(const std::string &folder)
{
    SqliteStatement insert(m_db, "INSERT OR IGNORE INTO folders (path) VALUES (?)");
    insert.bind(1, libraryFolderPath(folder));
    return insert.run() && sqlite3_changes(m_db) > 0;
}

bool SurveyCatalogue::removeFolder(const std::string &folder)
{
    const std::string gone = libraryFolderPath(folder);
    SqliteTransaction transaction(m_db);
    if (!transaction.isActive())
        return false;
    SqliteStatement drop(m_db, "DELETE FROM folders WHERE path = ?");
    drop.bind(1, gone);
    if (!drop.run() || sqlite3_changes(m_db) == 0)
        return false;
    const std::vector<std::string> kept = folders();
    SqliteStatement remove(m_db, "DELETE FROM entries WHERE path = ?");
    for (const auto &[path, stamp] : stamps()) {
        if (!isInFolder(path, gone))
            continue;
        bool held = false;
        for (const std::string &other : kept)
            held = held || isInFolder(path, other);
        if (held)
            continue;
        remove.reset();
        remove.bind(1, path);
        if (!remove.run())
            return false;
    }
    return transaction.commit();
}

std::vector<std::pair<std::string, FileStamp>> SurveyCatalogue::stamps() const
{
    std::vector<std::pair<std::string, FileStamp>> out;
    SqliteStatement select(m_db, "SELECT path, size, mtime_ns, inode FROM entries");
    while (select.step() == SQLITE_ROW)
        out.emplace_back(select.text(0),
                         FileStamp{static_cast<uint64_t>(select.integer(1)), select.integer(2),
                                   static_cast<uint64_t>(select.integer(3))});
    return out;
}

bool SurveyCatalogue::put(const CatalogueEntry &e)
{
    // One statement: SQLite makes it a transaction of its own.
    SqliteStatement insert(m_db, std::string("INSERT OR REPLACE INTO entries (") + EntryColumns +
                                     ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const SurveyFigures &f = e.figures;
    insert.bind(1, e.path);
    insert.bind(2, static_cast<int64_t>(e.stamp.size));
    insert.bind(3, e.stamp.modifiedNs);
    insert.bind(4, static_cast<int64_t>(e.stamp.inode));
    insert.bind(5, e.indexedAt);
    insert.bind(6, e.error);
    insert.bind(7, f.place);
    insert.bind(8, f.startWell);
    insert.bind(9, f.endWell);
    insert.bind(10, f.frameCount);
    insert.bind(11, f.firstCableM);
    insert.bind(12, f.lastCableM);
    insert.bind(13, f.surveyedLengthM);
    insert.bind(14, f.averageSedimentPermille);
    insert.bind(15, f.maxSedimentDepthPct);
    insert.bind(16, f.worstDepositGrade);
    insert.bind(17, f.worstDeformationGrade);
    insert.bind(18, f.sedimentVolumeM3);
    insert.bind(19, f.meanCapacityLossPct);
    insert.bind(20, f.maxCapacityLossPct);
    return insert.run();
}

bool SurveyCatalogue::remove(const std::string &path)
{
    SqliteStatement drop(m_db, "DELETE FROM entries WHERE path = ?");
    drop.bind(1, path);
    return drop.run() && sqlite3_changes(m_db) > 0;
}

std::optional<CatalogueEntry> SurveyCatalogue::entry(const std::string &path) const
{
    SqliteStatement select(m_db,
                           std::string("SELECT ") + EntryColumns + " FROM entries WHERE path = ?");
    select.bind(1, path);
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    return entryAt(select);
}

std::vector<CatalogueEntry> SurveyCatalogue::list(const CatalogueQuery &query) const
{
    std::string sql = std::string("SELECT ") + EntryColumns +
                      " FROM entries WHERE max(worst_deposit_grade, worst_deformation_grade) >= ?";
    if (!query.search.empty())
        sql += " AND (place LIKE ?2 ESCAPE '\\' OR start_well LIKE ?2 ESCAPE '\\'"
               " OR end_well LIKE ?2 ESCAPE '\\' OR path LIKE ?2 ESCAPE '\\')";
    SqliteStatement select(m_db, sql + " ORDER BY path");
    select.bind(1, query.gradeAtLeast);
    if (!query.search.empty())
        select.bind(2, containsPattern(query.search));
    std::vector<CatalogueEntry> out;
    while (select.step() == SQLITE_ROW)
        out.push_back(entryAt(select));
    return out;
}

int SurveyCatalogue::size() const
{
    SqliteStatement count(m_db, "SELECT count(*) FROM entries");
    return count.step() == SQLITE_ROW ? static_cast<int>(count.integer(0)) : 0;
}

std::string SurveyCatalogue::lastError() const
{
    return sqlite3_errmsg(m_db);
}

} // namespace dorvane
