#pragma once

#include <string>

struct sqlite3;

namespace dorvane {

// What preparing an opened library database found.
struct SchemaCheck
{
    enum class State
    {
        Ready,   // the library's schema, up to date
        Damaged, // not a database, failing its check, or not the library's
        Newer,   // the library of a newer program: left as it is
        Failed,  // could not be worked on now (locked, read-only, ...)
    };
    State state = State::Failed;
    std::string detail; // why, when not ready
};

// Brings a connection's database to the library's current schema: WAL
// journal, our application id, and the forward migrations from its
// PRAGMA user_version on, all in one write transaction, so that two
// programs opening a new library at once make it once.
SchemaCheck prepareCatalogueSchema(sqlite3 *db);

// The schema version this program writes.
int catalogueSchemaVersion();

} // namespace dorvane
