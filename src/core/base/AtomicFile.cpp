#include "core/base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace {

// The file a destination names: the final target of a link, or the
// destination itself while nothing is there.
std::optional<std::string> resolve(const std::string &destination)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(destination.c_str(), nullptr),
                                                           &std::free);
    if (real)
        return std::string(real.get());
    if (errno == ENOENT)
        return destination;
    return std::nullopt;
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Six letters and digits that differ between processes and calls, for a
// temporary name no one else is using.
std::string uniqueSuffix()
{
    static std::atomic<uint64_t> calls{0};
    uint64_t x =
        (static_cast<uint64_t>(::getpid()) << 32) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (calls.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 6; ++i, x /= 36)
        suffix += Digits[x % 36];
    return suffix;
}

// Gives the replacement the mode of the file it replaces, and its owner and
// group as far as the process may. The owner goes first: changing it clears
// the set-id bits.
bool takeOver(int fd, const struct stat &replaced)
{
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        if (errno != EPERM)
            return false;
        if (::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0 && errno != EPERM)
            return false;
    }
    return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

// Makes a rename in folder durable. A file system that cannot sync folders
// says EINVAL: there is nothing more to do there.
bool syncFolder(const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

} // namespace

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::failed(int error)
{
    m_error = error;
    return false;
}

bool AtomicFile::open(const std::string &destination)
{
    discard();
    m_error = 0;
    const auto target = resolve(destination);
    if (!target)
        return failed(errno);
    struct stat existing
    {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return failed(S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
    if (exists && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
        return failed(errno);

    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = *target + "." + uniqueSuffix() + ".tmp";
        if (m_file.open(candidate, PosixFile::Mode::CreateNew)) {
            m_temporary = candidate;
            break;
        }
        if (m_file.lastError() != EEXIST)
            return false;
    }
    if (!m_file.isOpen())
        return false;
    m_target = *target;
    if (exists && !takeOver(m_file.descriptor(), existing)) {
        const int error = errno;
        discard();
        return failed(error);
    }
    return true;
}

bool AtomicFile::commit()
{
    if (!m_file.isOpen())
        return failed(EBADF);
    bool ready = m_file.sync();
    ready = m_file.close() && ready;
    if (!ready || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = ready ? errno : m_file.lastError();
        discard();
        return failed(error);
    }
    m_temporary.clear();
    return syncFolder(folderOf(m_target)) || failed(errno);
}

void AtomicFile::discard()
{
    m_file.close();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

} // namespace dorvane
