#include "support/ReadOnlyFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

ReadOnlyFolder::ReadOnlyFolder(std::string path) : m_path(std::move(path))
{
    ::chmod(m_path.c_str(), 0555);
    if (::geteuid() == 0)
        m_immutable = setImmutable(true);
    // Whatever was done, the proof is that a file cannot be made there.
    const std::string probe = m_path + "/probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    m_readOnly = fd < 0;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_immutable)
        setImmutable(false);
    ::chmod(m_path.c_str(), 0755);
}

bool ReadOnlyFolder::setImmutable(bool on) const
{
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
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
