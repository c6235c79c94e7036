#include "core/library/SqliteTransaction.h"

#include <sqlite3.h>

namespace dorvane {

int sqliteExec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

SqliteTransaction::SqliteTransaction(sqlite3 *db)
    : m_db(db), m_beginResult(sqliteExec(db, "BEGIN IMMEDIATE")),
      m_active(m_beginResult == SQLITE_OK)
{}

SqliteTransaction::~SqliteTransaction()
{
    if (m_active)
        sqliteExec(m_db, "ROLLBACK");
}

bool SqliteTransaction::commit()
{
    if (!m_active)
        return false;
    if (sqliteExec(m_db, "COMMIT") != SQLITE_OK)
        return false; // still active: the destructor rolls it back
    m_active = false;
    return true;
}

} // namespace dorvane
