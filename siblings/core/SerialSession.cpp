#include "SerialSession.h"

#include "PortSurvey.h"

#include "portmgr/io/SerialLine.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace tessaron {

bool TSerialSession::Open(int n, std::string& why)
{
    Close();
    if (OpenPortForUse(n, m_line, why) != 0) {
        return false;
    }
    m_port = n;
    return true;
}

void TSerialSession::Close()
{
    m_line.Close();
    m_port = 0;
}

int TSerialSession::Read(std::uint8_t* buffer, std::size_t size)
{
    if (Fd() < 0) {
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(Fd(), buffer, size);
        if (n > 0) {
            return static_cast<int>(n);
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return 0;
        }
        // A terminal in raw mode with VMIN 0 reads 0 both when nothing is there
        // and after a hang-up (a pseudo-terminal whose bridge went away, an
        // unplugged adapter); poll() tells them apart. EIO is a hang-up too.
        if (n == 0) {
            pollfd p{Fd(), POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
                return 0;
            }
        }
        Close();
        return -1;
    }
}

int TSerialSession::Write(const std::uint8_t* bytes, std::size_t n)
{
    if (Fd() < 0) {
        return 0;
    }
    return WriteWithin(Fd(), bytes, static_cast<int>(n), WriteTimeoutMs);
}

} // namespace tessaron
