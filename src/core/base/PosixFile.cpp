#include "core/base/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace dorvane {

PosixFile::~PosixFile()
{
    close();
}

PosixFile::PosixFile(PosixFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error)
{}

PosixFile &PosixFile::operator=(PosixFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_error = other.m_error;
    }
    return *this;
}

bool PosixFile::failed(int error) const
{
    m_error = error;
    return false;
}

bool PosixFile::open(const std::string &path, Mode mode)
{
    close();
    // A FIFO or a device would block the open itself: nothing waits until
    // the file is known to be a regular one.
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (mode) {
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    case Mode::ReadWrite:
        flags |= O_RDWR;
        break;
    case Mode::Create:
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case Mode::Replace:
        flags |= O_WRONLY | O_CREAT;
        break;
    case Mode::CreateNew:
        // Nothing that is there already is used, not even through a link.
        flags |= O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
        break;
    }
    do {
        m_fd = ::open(path.c_str(), flags, 0666);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        return failed(errno);
    // Only regular files hold surveys; a directory or a device is refused.
    struct stat st
    {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close();
        return failed(error);
    }
    const int status = ::fcntl(m_fd, F_GETFL);
    if (status < 0 || ::fcntl(m_fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        const int error = errno;
        close();
        return failed(error);
    }
    return true;
}

bool PosixFile::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(std::exchange(m_fd, -1));
    return rc == 0 || failed(errno);
}

std::optional<uint64_t> PosixFile::size() const
{
    struct stat st
    {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

bool PosixFile::readAt(uint64_t offset, void *data, size_t size) const
{
    return readSomeAt(offset, data, size) == size;
}

size_t PosixFile::readSomeAt(uint64_t offset, void *data, size_t size) const
{
    auto *p = static_cast<char *>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failed(errno);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t PosixFile::read(void *data, size_t size)
{
    auto *p = static_cast<char *>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(m_fd, p + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failed(errno);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

bool PosixFile::writeAt(uint64_t offset, const void *data, size_t size)
{
    const auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(m_fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        // A write that takes nothing is a full disk.
        if (n <= 0)
            return failed(n < 0 ? errno : ENOSPC);
        p += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

bool PosixFile::write(const void *data, size_t size)
{
    const auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        // A write that takes nothing is a full disk.
        if (n <= 0)
            return failed(n < 0 ? errno : ENOSPC);
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool PosixFile::seek(uint64_t offset)
{
    if (m_fd < 0)
        return failed(EBADF);
    return ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset) ||
           failed(errno);
}

bool PosixFile::truncate(uint64_t size)
{
    if (m_fd < 0)
        return failed(EBADF);
    int rc;
    do {
        rc = ::ftruncate(m_fd, static_cast<off_t>(size));
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || failed(errno);
}

bool PosixFile::sync()
{
    if (m_fd < 0)
        return failed(EBADF);
    return ::fsync(m_fd) == 0 || failed(errno);
}

bool PosixFile::tryLock(bool exclusive)
{
    if (m_fd < 0)
        return failed(EBADF);
    int rc;
    do {
        rc = ::flock(m_fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || failed(errno == EAGAIN ? EWOULDBLOCK : errno);
}

void PosixFile::unlock()
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_UN);
}

} // namespace dorvane
