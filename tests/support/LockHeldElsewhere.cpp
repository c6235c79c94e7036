#include "support/LockHeldElsewhere.h"

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane::test {

LockHeldElsewhere::LockHeldElsewhere(const std::string &path)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    m_child = ::fork();
    if (m_child == 0) {
        ::close(ready[0]);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const char answer = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? '1' : '0';
        (void)!::write(ready[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char answer = '0';
    if (m_child > 0 && ::read(ready[0], &answer, 1) == 1)
        m_holds = answer == '1';
    ::close(ready[0]);
}

LockHeldElsewhere::~LockHeldElsewhere()
{
    if (m_child <= 0)
        return;
    ::kill(m_child, SIGKILL);
    ::waitpid(m_child, nullptr, 0);
}

} // namespace dorvane::test
