#pragma once

#include "core/base/PosixFile.h"

#include <string>
#include <vector>

namespace dorvane {

// A file that appears at its destination whole or not at all. It is written
// under a temporary name in the destination's folder; commit() makes it
// durable, renames it over the destination and syncs the folder. Until then
// the destination keeps what it held, and a file never committed is removed
// (on a failed commit, by discard() or when the object goes).
//
// A destination that is a symbolic link stays one: the file it points to is
// replaced (unless links are refused). An existing destination must be a
// regular file the process may write, as writing it in place would need; its
// replacement keeps its mode and, where the process may set them, its owner
// and group. It is locked (flock) from open to commit, so that no other
// writer of it can be at work meanwhile.
//
// The temporary file is named "<destination>.tessiq-XXXXXX.tmp" and locked
// while it is written. Such files that a killed process left beside the
// destination (unlocked and untouched for a minute) are removed by open().
class AtomicFile
{
public:
    struct Options
    {
        // False: a destination that is a link (or anything but a regular
        // file) is refused with ELOOP / EISDIR / EINVAL instead of followed.
        bool followLink = true;
        // False when the caller holds the destination's lock through a file
        // of its own (a survey replaced by its own copy).
        bool lockDestination = true;
    };

    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the temporary file for destination; false when it cannot be
    // made or the destination may not be replaced. EWOULDBLOCK: another
    // program is writing the destination.
    bool open(const std::string &destination) { return open(destination, Options{}); }
    bool open(const std::string &destination, const Options &options);
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

    // The stale temporary files that open() removed, for telling the user.
    const std::vector<std::string> &removedStale() const { return m_removedStale; }

    // Removes the stale temporary files of destination; the ones removed.
    static std::vector<std::string> removeStaleTemporaries(const std::string &destination);

private:
    // Keeps error as the reason; false.
    bool failed(int error);

    PosixFile m_file;
    PosixFile m_destinationLock;
    int m_error = 0;
    std::vector<std::string> m_removedStale;
    std::string m_target;
    std::string m_temporary;
};

} // namespace dorvane
