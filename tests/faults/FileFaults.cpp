#include "FileFaults.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

namespace {

// The plan the operations below follow; set and cleared by FileFaults.
struct Plan
{
    std::mutex mutex;
    std::string folder;
    int failAt = 0;
    Fault fault = Fault::None;
    bool fired = false;
    bool withReads = false;
    int shortFd = -1;
    std::vector<std::string> operations;
};

Plan &plan()
{
    static Plan *const p = new Plan;
    return *p;
}

// Set while a plan is in force, so that the program's other file operations
// go straight through.
std::atomic<bool> g_watching{false};

bool underFolder(const std::string &folder, const char *path)
{
    if (!path || folder.empty())
        return false;
    const size_t n = folder.size();
    return std::strncmp(path, folder.c_str(), n) == 0 && (path[n] == '\0' || path[n] == '/');
}

std::string pathOf(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return {};
    target[n] = '\0';
    std::string path(target);
    constexpr char Deleted[] = " (deleted)";
    const size_t tail = sizeof Deleted - 1;
    if (path.size() > tail && path.compare(path.size() - tail, tail, Deleted) == 0)
        path.resize(path.size() - tail);
    return path;
}

// What the operation must do: nothing special, fail with an errno value,
// or store only part of a write.
struct Decision
{
    int error = 0;
    bool shortWrite = false;
};

Decision decide(const char *operation, const std::string &path, int fd, bool isWrite,
                bool isRead = false)
{
    Decision d;
    if (!g_watching.load())
        return d;
    Plan &p = plan();
    std::lock_guard lock(p.mutex);
    if (!underFolder(p.folder, path.c_str()) || (isRead && !p.withReads))
        return d;
    p.operations.emplace_back(operation);
    if (isWrite && fd >= 0 && fd == p.shortFd) {
        p.shortFd = -1;
        d.error = ENOSPC;
        return d;
    }
    if (p.fired || static_cast<int>(p.operations.size()) != p.failAt)
        return d;
    p.fired = true;
    switch (p.fault) {
    case Fault::None:
        break;
    case Fault::NoSpace:
        d.error = ENOSPC;
        break;
    case Fault::IoError:
        d.error = EIO;
        break;
    case Fault::Denied:
        d.error = EACCES;
        break;
    case Fault::ShortWrite:
        if (isWrite) {
            d.shortWrite = true;
            p.shortFd = fd;
        } else {
            d.error = ENOSPC;
        }
        break;
    case Fault::RemoveFirst:
        ::unlink(path.c_str());
        break;
    case Fault::Kill:
        ::raise(SIGKILL);
        break;
    }
    return d;
}

Decision decideFd(const char *operation, int fd, bool isWrite, bool isRead = false)
{
    if (!g_watching.load())
        return {};
    return decide(operation, pathOf(fd), fd, isWrite, isRead);
}

Decision decidePath(const char *operation, const char *path)
{
    if (!g_watching.load() || !path)
        return {};
    return decide(operation, path, -1, false);
}

template<typename F>
F next(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

int failWith(int error)
{
    errno = error;
    return -1;
}

} // namespace

const char *faultName(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return "none";
    case Fault::NoSpace:
        return "ENOSPC";
    case Fault::IoError:
        return "EIO";
    case Fault::Denied:
        return "EACCES";
    case Fault::ShortWrite:
        return "short write";
    case Fault::RemoveFirst:
        return "removed";
    case Fault::Kill:
        return "killed";
    }
    return "?";
}

FileFaults::FileFaults(const std::string &folder, int failAt, Fault fault, bool withReads)
{
    Plan &p = plan();
    {
        std::lock_guard lock(p.mutex);
        p.folder = folder;
        p.failAt = failAt;
        p.fault = fault;
        p.fired = false;
        p.withReads = withReads;
        p.shortFd = -1;
        p.operations.clear();
    }
    g_watching = true;
}

FileFaults::~FileFaults()
{
    g_watching = false;
    Plan &p = plan();
    std::lock_guard lock(p.mutex);
    p.folder.clear();
}

std::vector<std::string> FileFaults::operations() const
{
    Plan &p = plan();
    std::lock_guard lock(p.mutex);
    return p.operations;
}

bool FileFaults::fired() const
{
    Plan &p = plan();
    std::lock_guard lock(p.mutex);
    return p.fired;
}

} // namespace dorvane::test

using dorvane::test::decideFd;
using dorvane::test::decidePath;
using dorvane::test::Decision;
using dorvane::test::failWith;
using dorvane::test::next;

extern "C" {

ssize_t write(int fd, const void *data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    const Decision d = decideFd("write", fd, true);
    if (d.error)
        return failWith(d.error);
    return real(fd, data, d.shortWrite && size > 1 ? size / 2 : size);
}

ssize_t pwrite(int fd, const void *data, size_t size, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite");
    const Decision d = decideFd("pwrite", fd, true);
    if (d.error)
        return failWith(d.error);
    return real(fd, data, d.shortWrite && size > 1 ? size / 2 : size, offset);
}

ssize_t pwrite64(int fd, const void *data, size_t size, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t, off64_t)>("pwrite64");
    const Decision d = decideFd("pwrite", fd, true);
    if (d.error)
        return failWith(d.error);
    return real(fd, data, d.shortWrite && size > 1 ? size / 2 : size, offset);
}

ssize_t pread(int fd, void *data, size_t size, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, void *, size_t, off_t)>("pread");
    const Decision d = decideFd("pread", fd, false, true);
    return d.error ? failWith(d.error) : real(fd, data, size, offset);
}

ssize_t pread64(int fd, void *data, size_t size, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, void *, size_t, off64_t)>("pread64");
    const Decision d = decideFd("pread", fd, false, true);
    return d.error ? failWith(d.error) : real(fd, data, size, offset);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    const Decision d = decideFd("fsync", fd, false);
    return d.error ? failWith(d.error) : real(fd);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    const Decision d = decideFd("fdatasync", fd, false);
    return d.error ? failWith(d.error) : real(fd);
}

int ftruncate(int fd, off_t size)
{
    static const auto real = next<int (*)(int, off_t)>("ftruncate");
    const Decision d = decideFd("ftruncate", fd, false);
    return d.error ? failWith(d.error) : real(fd, size);
}

int ftruncate64(int fd, off64_t size)
{
    static const auto real = next<int (*)(int, off64_t)>("ftruncate64");
    const Decision d = decideFd("ftruncate", fd, false);
    return d.error ? failWith(d.error) : real(fd, size);
}

int fchmod(int fd, mode_t mode)
{
    static const auto real = next<int (*)(int, mode_t)>("fchmod");
    const Decision d = decideFd("fchmod", fd, false);
    return d.error ? failWith(d.error) : real(fd, mode);
}

int rename(const char *from, const char *to)
{
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    const Decision d = decidePath("rename", from);
    return d.error ? failWith(d.error) : real(from, to);
}

int close(int fd)
{
    static const auto real = next<int (*)(int)>("close");
    const Decision d = decideFd("close", fd, false);
    // The descriptor is gone either way, as after a close that reports an
    // error of the data written before.
    const int rc = real(fd);
    return d.error ? failWith(d.error) : rc;
}

int open(const char *path, int flags, ...)
{
    static const auto real = next<int (*)(const char *, int, ...)>("open");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    const Decision d = decidePath("open", path);
    return d.error ? failWith(d.error) : real(path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    static const auto real = next<int (*)(const char *, int, ...)>("open64");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    const Decision d = decidePath("open", path);
    return d.error ? failWith(d.error) : real(path, flags, mode);
}

int openat(int folder, const char *path, int flags, ...)
{
    static const auto real = next<int (*)(int, const char *, int, ...)>("openat");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    const Decision d = decidePath("open", path);
    return d.error ? failWith(d.error) : real(folder, path, flags, mode);
}

} // extern "C"
