#pragma once

#include "core/base/PosixFile.h"

#include <string>

namespace dorvane {

// A file that appears at its destination whole or not at all. It is written
// under a temporary name in the destination's folder; commit() makes it
// durable, renames it over the destination and syncs the folder. Until then
// the destination keeps what it held, and a file never committed is removed
// (on a failed commit, by discard() or when the object goes).
//
// A destination that is a symbolic link stays one: the file it points to is
// replaced. An existing destination must be a regular file the process may
// write, as writing it in place would need; its replacement keeps its mode
// and, where the process may set them, its owner and group.
class AtomicFile
{
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the temporary file for destination; false when it cannot be
    // made or the destination may not be replaced.
    bool open(const std::string &destination);
    // The temporary file, for writing.
    PosixFile &file() { return m_file; }
    // False when the file could not be made durable or put in place; the
    // destination is then untouched, except when only syncing the folder
    // failed after the rename.
    bool commit();
    // Drops the temporary file; the destination stays as it was.
    void discard();

    // The errno value of the last step that failed, the writes to file()
    // included (0 when none has).
    int lastError() const { return m_error ? m_error : m_file.lastError(); }

private:
    // Keeps error as the reason; false.
    bool failed(int error);

    PosixFile m_file;
    int m_error = 0;
    std::string m_target;
    std::string m_temporary;
};

} // namespace dorvane
