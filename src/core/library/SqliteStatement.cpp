#include "core/library/SqliteStatement.h"

#include <sqlite3.h>

namespace dorvane {

SqliteStatement::SqliteStatement(sqlite3 *db, std::string_view sql)
{
    m_prepareResult =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr);
    if (m_prepareResult != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, int64_t value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bind(int index, double value)
{
    sqlite3_bind_double(m_statement, index, value);
}

void SqliteStatement::bind(int index, std::string_view text)
{
    sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const std::optional<double> &value)
{
    if (value)
        bind(index, *value);
    else
        sqlite3_bind_null(m_statement, index);
}

int SqliteStatement::step()
{
    return m_statement ? sqlite3_step(m_statement) : m_prepareResult;
}

bool SqliteStatement::run()
{
    int result = step();
    while (result == SQLITE_ROW)
        result = step();
    return result == SQLITE_DONE;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

int64_t SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

std::optional<double> SqliteStatement::optionalReal(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return real(column);
}

std::string SqliteStatement::text(int column) const
{
    const auto *data = sqlite3_column_text(m_statement, column);
    if (!data)
        return {};
    return std::string(reinterpret_cast<const char *>(data),
                       static_cast<size_t>(sqlite3_column_bytes(m_statement, column)));
}

} // namespace dorvane
