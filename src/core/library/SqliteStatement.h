#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace dorvane {

// One prepared SQLite statement, finalized with the object. Binding and
// stepping report failure through their results; the connection's error
// text says why.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // False when the SQL could not be prepared.
    bool isValid() const { return m_statement != nullptr; }
    // SQLITE_OK, or why the SQL could not be prepared.
    int prepareResult() const { return m_prepareResult; }

    // Parameters count from 1, as in SQLite.
    void bind(int index, int64_t value);
    void bind(int index, int value) { bind(index, static_cast<int64_t>(value)); }
    void bind(int index, double value);
    void bind(int index, std::string_view text);
    void bind(int index, const std::optional<double> &value);

    // Advances: SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Steps to the end: true when it got there without an error.
    bool run();
    // Ready to be stepped again with new bindings.
    void reset();

    bool isNull(int column) const;
    int64_t integer(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;
    std::string text(int column) const;

private:
    sqlite3_stmt *m_statement = nullptr;
    int m_prepareResult = 0;
};

} // namespace dorvane
