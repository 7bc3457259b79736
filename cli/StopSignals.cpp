#include "StopSignals.h"

#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace tessaron::cli {

StopSignals::StopSignals()
{
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGINT);
    sigaddset(&m_set, SIGTERM);
    sigaddset(&m_set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    m_fd = ::signalfd(-1, &m_set, SFD_CLOEXEC | SFD_NONBLOCK);
}

StopSignals::~StopSignals()
{
    if (m_fd >= 0) {
        // Take the signals that came, or unblocking them would end the process now.
        signalfd_siginfo info;
        while (::read(m_fd, &info, sizeof info) == sizeof info) {
        }
        ::close(m_fd);
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

bool StopSignals::arrived() const
{
    pollfd p{m_fd, POLLIN, 0};
    return m_fd >= 0 && ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0;
}

} // namespace tessaron::cli
