#include "SerialPort.h"

#include <chrono>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace tessaron {

TSerialPort::TSerialPort(TSerialPort&& other) noexcept
    : m_fd(other.m_fd), m_line(other.m_line), m_modem(other.m_modem),
      m_modemKnown(other.m_modemKnown), m_lock(std::move(other.m_lock))
{
    other.m_fd = -1;
}

TSerialPort& TSerialPort::operator=(TSerialPort&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_line = other.m_line;
        m_modem = other.m_modem;
        m_modemKnown = other.m_modemKnown;
        m_lock = std::move(other.m_lock);
        other.m_fd = -1;
    }
    return *this;
}

bool TSerialPort::Take(int fd, TUucpLock lock)
{
    Close();
    // tcgetattr fails (ENOTTY) on anything that is no terminal: /dev/zero, a
    // printer port, a sound device.
    if (fd < 0 || ::tcgetattr(fd, &m_line) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false; // lock goes with this scope
    }
    // A pseudo-terminal has no modem lines and refuses this.
    m_modemKnown = ::ioctl(fd, TIOCMGET, &m_modem) == 0;
    m_fd = fd;
    m_lock = std::move(lock);
    return true;
}

void TSerialPort::Close()
{
    if (m_fd < 0) {
        m_lock.Release();
        return;
    }
    // Bytes still on their way out would go at the old line's speed: they get
    // a moment, then what is left (a line that stopped sending) is dropped.
    // Never flush otherwise: on a pseudo-terminal that drops what the other
    // end has not read yet.
    int queued = 0;
    for (int waited = 0; ::ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0; waited += 5) {
        if (waited >= kDrainMs) {
            ::tcflush(m_fd, TCOFLUSH);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::tcsetattr(m_fd, TCSANOW, &m_line);
    if (m_modemKnown) {
        ::ioctl(m_fd, TIOCMSET, &m_modem);
    }
    // The exclusive mode belongs to the terminal, not to this descriptor: it
    // would outlive the close while anything else holds the terminal open.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_modemKnown = false;
    m_lock.Release();
}

} // namespace tessaron
