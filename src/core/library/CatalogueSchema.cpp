#include "core/library/CatalogueSchema.h"

#include "core/library/SqliteStatement.h"
#include "core/library/SqliteTransaction.h"

#include <cstdlib>
#include <iterator>
#include <optional>
#include <sqlite3.h>

namespace dorvane {

namespace {

// "TqLb": tells the library's database from any other SQLite file.
constexpr int64_t ApplicationId = 0x54714C62;

// Migration i takes a database from version i to i + 1; version 0 is an
// empty file. Only ever appended to: a released schema is never changed.
const char *const Migrations[] = {
    // 1: the folders scanned and one row per survey file. The entries are
    // kept by path alone (no rowid), which keeps 10,000 of them to a few MB.
    "CREATE TABLE folders (path TEXT PRIMARY KEY NOT NULL);"
    "CREATE TABLE entries ("
    " path TEXT PRIMARY KEY NOT NULL,"
    " size INTEGER NOT NULL,"
    " mtime_ns INTEGER NOT NULL,"
    " inode INTEGER NOT NULL,"
    " indexed_at INTEGER NOT NULL,"
    " error TEXT NOT NULL DEFAULT '',"
    " place TEXT NOT NULL DEFAULT '',"
    " start_well TEXT NOT NULL DEFAULT '',"
    " end_well TEXT NOT NULL DEFAULT '',"
    " frame_count INTEGER NOT NULL DEFAULT 0,"
    " first_cable_m REAL NOT NULL DEFAULT 0,"
    " last_cable_m REAL NOT NULL DEFAULT 0,"
    " surveyed_length_m REAL NOT NULL DEFAULT 0,"
    " average_sediment_permille INTEGER NOT NULL DEFAULT 0,"
    " max_sediment_depth_pct REAL,"
    " worst_deposit_grade INTEGER NOT NULL DEFAULT 0,"
    " worst_deformation_grade INTEGER NOT NULL DEFAULT 0,"
    " sediment_volume_m3 REAL NOT NULL DEFAULT 0,"
    " mean_capacity_loss_pct REAL,"
    " max_capacity_loss_pct REAL"
    ") WITHOUT ROWID;",
};

constexpr int CurrentVersion = static_cast<int>(std::size(Migrations));

bool isDamage(int result)
{
    const int primary = result & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

SchemaCheck failure(sqlite3 *db, int result)
{
    return {isDamage(result) ? SchemaCheck::State::Damaged : SchemaCheck::State::Failed,
            sqlite3_errstr(result) + std::string(": ") + sqlite3_errmsg(db)};
}

// The first column of the statement's first row, as text.
std::optional<std::string> firstValue(sqlite3 *db, const char *sql, int &result)
{
    SqliteStatement statement(db, sql);
    result = statement.isValid() ? statement.step() : statement.prepareResult();
    if (result != SQLITE_ROW)
        return std::nullopt;
    result = SQLITE_OK;
    return statement.text(0);
}

} // namespace

int catalogueSchemaVersion()
{
    return CurrentVersion;
}

SchemaCheck prepareCatalogueSchema(sqlite3 *db)
{
    int result = SQLITE_OK;
    // Only the first reader of the file finds out whether it is a database.
    if (!firstValue(db, "PRAGMA journal_mode=WAL", result))
        return failure(db, result);

    SqliteTransaction transaction(db);
    if (!transaction.isActive())
        return failure(db, transaction.beginResult());
    int64_t figures[3] = {};
    const char *const queries[3] = {"PRAGMA application_id", "PRAGMA user_version",
                                    "SELECT count(*) FROM sqlite_master"};
    for (int i = 0; i < 3; ++i) {
        const auto value = firstValue(db, queries[i], result);
        if (!value)
            return failure(db, result);
        figures[i] = std::strtoll(value->c_str(), nullptr, 10);
    }
    const auto [id, version, objects] = figures;
    const bool empty = id == 0 && version == 0 && objects == 0;
    if (!empty && id != ApplicationId)
        return {SchemaCheck::State::Damaged,
                "application id " + std::to_string(id) + " is not the library's"};
    if (version > CurrentVersion)
        return {SchemaCheck::State::Newer, "schema version " + std::to_string(version) +
                                               " is newer than this program's " +
                                               std::to_string(CurrentVersion)};
    if (!empty) {
        const auto verdict = firstValue(db, "PRAGMA quick_check(1)", result);
        if (!verdict)
            return failure(db, result);
        if (*verdict != "ok")
            return {SchemaCheck::State::Damaged, *verdict};
    }

    for (int64_t v = version; v < CurrentVersion; ++v)
        if (const int r = sqliteExec(db, Migrations[v]); r != SQLITE_OK)
            return failure(db, r);
    if (version < CurrentVersion) {
        const std::string stamp = "PRAGMA application_id=" + std::to_string(ApplicationId) +
                                  ";PRAGMA user_version=" + std::to_string(CurrentVersion);
        if (const int r = sqliteExec(db, stamp.c_str()); r != SQLITE_OK)
            return failure(db, r);
    }
    if (!transaction.commit())
        return failure(db, sqlite3_errcode(db));
    return {SchemaCheck::State::Ready, {}};
}

} // namespace dorvane
