#include "support/ReadOnlyFolder.h"

#include "support/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

ReadOnlyFolder::ReadOnlyFolder(std::string path) : m_path(std::move(path))
{
    ::chmod(m_path.c_str(), 0555);
    if (::geteuid() == 0)
        m_immutable = setImmutableFlag(m_path, true);
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
        setImmutableFlag(m_path, false);
    ::chmod(m_path.c_str(), 0755);
}

} // namespace dorvane::test
