#include "cli/CancelSignals.h"

#include <initializer_list>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace dorvane::cli {

CancelSignals::CancelSignals()
{
    sigemptyset(&m_blocked);
    for (int signal : {SIGINT, SIGTERM, SIGCHLD})
        sigaddset(&m_blocked, signal);
    pthread_sigmask(SIG_BLOCK, &m_blocked, &m_previous);
    m_fd = signalfd(-1, &m_blocked, SFD_NONBLOCK | SFD_CLOEXEC);
}

CancelSignals::~CancelSignals()
{
    if (m_fd >= 0) {
        take();
        ::close(m_fd);
    }
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

int CancelSignals::take()
{
    int cancel = 0;
    signalfd_siginfo info{};
    while (m_fd >= 0 && ::read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        if (info.ssi_signo != SIGCHLD)
            cancel = static_cast<int>(info.ssi_signo);
    return cancel;
}

} // namespace dorvane::cli
