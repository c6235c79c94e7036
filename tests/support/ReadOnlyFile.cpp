#include "support/ReadOnlyFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

ReadOnlyFile::ReadOnlyFile(std::string path) : m_path(std::move(path))
{
    ::chmod(m_path.c_str(), 0444);
    if (::geteuid() == 0)
        m_immutable = setImmutableFlag(m_path, true);
    // Whatever was done, the proof is that writing is refused.
    const int fd = ::open(m_path.c_str(), O_RDWR);
    m_readOnly = fd < 0;
    if (fd >= 0)
        ::close(fd);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_immutable)
        setImmutableFlag(m_path, false);
    ::chmod(m_path.c_str(), 0644);
}

bool setImmutableFlag(const std::string &path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace dorvane::test
