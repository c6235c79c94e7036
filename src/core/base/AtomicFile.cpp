#include "core/base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
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

constexpr const char *TemporaryMark = ".tessiq-";
constexpr const char *TemporaryEnd = ".tmp";
constexpr size_t SuffixLength = 6;
// A temporary file untouched this long, and not locked, belongs to a process
// that is gone.
constexpr time_t StaleAfterSeconds = 60;

std::string nameOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isSuffix(std::string_view text)
{
    if (text.size() != SuffixLength)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

// "<name>.tessiq-XXXXXX.tmp", or "<name>.XXXXXX.tmp" as earlier versions
// named them.
bool isTemporaryOf(std::string_view entry, std::string_view name)
{
    const std::string_view end = TemporaryEnd;
    if (entry.size() <= name.size() + end.size() || entry.substr(0, name.size()) != name ||
        entry.substr(entry.size() - end.size()) != end)
        return false;
    const std::string_view middle =
        entry.substr(name.size(), entry.size() - name.size() - end.size());
    const std::string_view mark = TemporaryMark;
    if (middle.substr(0, mark.size()) == mark)
        return isSuffix(middle.substr(mark.size()));
    return !middle.empty() && middle[0] == '.' && isSuffix(middle.substr(1));
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

std::vector<std::string> AtomicFile::removeStaleTemporaries(const std::string &destination)
{
    std::vector<std::string> removed;
    const std::string folder = folderOf(destination);
    const std::string name = nameOf(destination);
    struct CloseDir
    {
        void operator()(DIR *dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
    if (!dir)
        return removed;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        struct stat st
        {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < StaleAfterSeconds)
            continue;
        // A writer that is still at work holds its lock.
        PosixFile candidate;
        if (!candidate.open(path, PosixFile::Mode::Read) || !candidate.tryLock(true))
            continue;
        if (::unlink(path.c_str()) == 0)
            removed.push_back(path);
    }
    return removed;
}

bool AtomicFile::open(const std::string &destination, const Options &options)
{
    discard();
    m_error = 0;
    m_removedStale.clear();
    struct stat existing
    {};
    if (!options.followLink && ::lstat(destination.c_str(), &existing) == 0 &&
        !S_ISREG(existing.st_mode))
        return failed(S_ISLNK(existing.st_mode)   ? ELOOP
                      : S_ISDIR(existing.st_mode) ? EISDIR
                                                  : EINVAL);
    const auto target = options.followLink ? resolve(destination) : destination;
    if (!target)
        return failed(errno);
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return failed(S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
    if (exists && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
        return failed(errno);
    // A destination that cannot be read cannot be locked either; only
    // another writer's lock stops the write.
    if (exists && options.lockDestination &&
        m_destinationLock.open(*target, PosixFile::Mode::Read) &&
        !m_destinationLock.tryLock(true)) {
        const int error = m_destinationLock.lastError();
        m_destinationLock.close();
        return failed(error);
    }
    m_removedStale = removeStaleTemporaries(*target);

    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = *target + TemporaryMark + uniqueSuffix() + TemporaryEnd;
        if (m_file.open(candidate, PosixFile::Mode::CreateNew)) {
            m_temporary = candidate;
            break;
        }
        if (m_file.lastError() != EEXIST) {
            m_destinationLock.close();
            return false;
        }
    }
    if (!m_file.isOpen() || !m_file.tryLock(true)) {
        const int error = m_file.isOpen() ? m_file.lastError() : EEXIST;
        discard();
        return failed(error);
    }
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
    const bool synced = syncFolder(folderOf(m_target));
    const int error = errno;
    m_destinationLock.close();
    return synced || failed(error);
}

void AtomicFile::discard()
{
    m_file.close();
    m_destinationLock.close();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

} // namespace dorvane
