#pragma once

struct sqlite3;

namespace dorvane {

// A write transaction, taken at once (BEGIN IMMEDIATE) so that a second
// writer waits on the busy timeout instead of failing halfway; rolled back
// unless committed.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(sqlite3 *db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;

    // SQLITE_OK, or why the transaction could not be begun.
    int beginResult() const { return m_beginResult; }
    bool isActive() const { return m_active; }
    bool commit();

private:
    sqlite3 *m_db;
    int m_beginResult;
    bool m_active;
};

// Runs SQL without results; the SQLite result code.
int sqliteExec(sqlite3 *db, const char *sql);

} // namespace dorvane
