#pragma once

#include <string>
#include <vector>

namespace dorvane::test {

// What happens to the chosen file operation.
enum class Fault
{
    None,        // nothing: the operations are only counted
    NoSpace,     // fails with ENOSPC
    IoError,     // fails with EIO
    Denied,      // fails with EACCES
    ShortWrite,  // a write stores half its bytes; the next write to that file fails with ENOSPC
    RemoveFirst, // the file it concerns is removed just before it runs
    Kill,        // the process is killed with SIGKILL just before it runs
};

const char *faultName(Fault fault);

// The file layer of the whole test program: open, write, pwrite, fsync,
// fdatasync, ftruncate, fchmod, rename, close and pread are defined here and
// forwarded to the C library. Operations on files under the watched folder
// are counted (the names of the operations in order; reads only when asked
// for); the failAt-th of them (from 1) gets the fault. Nothing else is
// touched.
class FileFaults
{
public:
    // Watches folder (an absolute path without a trailing slash) from now on.
    FileFaults(const std::string &folder, int failAt, Fault fault, bool withReads = false);
    ~FileFaults();
    FileFaults(const FileFaults &) = delete;
    FileFaults &operator=(const FileFaults &) = delete;

    // The operations counted so far, as "write", "rename", ...
    std::vector<std::string> operations() const;
    // True once the fault has been applied.
    bool fired() const;
};

} // namespace dorvane::test
