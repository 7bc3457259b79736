#include "SerialLine.h"

#include "PortHolders.h"

#include "common/SuiteFolder.h"
#include "portmgr/bridge/TVirtualPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tessaron {

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point end)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

speed_t speedConstant(int speed)
{
    switch (speed) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

} // namespace

std::string ComPortPath(int n)
{
    return SuitePath("ports/COM" + std::to_string(n));
}

int OpenComPort(int n, int& fd, std::string* reason)
{
    fd = -1;
    if (n < 1 || n > 16) {
        return 1;
    }
    const auto passOver = [reason](const std::string& why) {
        if (reason != nullptr) {
            *reason = why;
        }
        return 1;
    };
    bool alive = false;
    if (TVirtualPort::IsVirtualPortLink("COM" + std::to_string(n), alive)) {
        return passOver(alive ? "a virtual port of a running bridge"
                              : "left behind by a bridge that ended");
    }
    // A probe sets the line and writes to it: a port that any program holds is
    // passed over, whether or not that program locked it.
    const std::string path = ComPortPath(n);
    std::string who;
    if (FindPortHolder(path, who) != 0) {
        return passOver("in use by " + who);
    }
    // O_NONBLOCK: a port without carrier must not block the open.
    const int opened = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        if (errno == EBUSY) {
            return passOver("in use by another program");
        }
        return 1;
    }
    struct stat info;
    if (::fstat(opened, &info) != 0 || !S_ISCHR(info.st_mode)) {
        ::close(opened);
        return 2;
    }
    // Another program of the suite holding the port keeps its lock; TIOCEXCL
    // also turns away other programs that open the terminal while we have it.
    if (::flock(opened, LOCK_EX | LOCK_NB) != 0) {
        ::close(opened);
        return passOver("in use by another program of the suite");
    }
    ::ioctl(opened, TIOCEXCL);
    fd = opened;
    return 0;
}

void CloseComPort(int fd)
{
    if (fd < 0) {
        return;
    }
    // The exclusive mode belongs to the terminal, not to this descriptor: it
    // would outlive the close while anything else holds the terminal open.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool ApplyLineSettings(int fd, int speed)
{
    termios line;
    if (::tcgetattr(fd, &line) != 0) {
        return false;
    }
    // A COM port carries bytes unchanged: no echo, no line editing and no
    // CR/LF translation, which a Linux terminal has by default.
    ::cfmakeraw(&line);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CREAD | CLOCAL; // CLOCAL: modem lines (DSR, DCD) are not watched
    line.c_iflag &= ~(IXON | IXOFF | IXANY | PARMRK | INPCK | ISTRIP | IGNBRK | BRKINT);
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    ::cfsetispeed(&line, speedConstant(speed));
    ::cfsetospeed(&line, speedConstant(speed));
    if (::tcsetattr(fd, TCSANOW, &line) != 0) {
        return false;
    }
    // Modem lines: a pseudo-terminal has none and refuses these, which is fine.
    int dtr = TIOCM_DTR;
    ::ioctl(fd, TIOCMBIC, &dtr);
    int rts = TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &rts);
    return true;
}

int ReadWithin(int fd, unsigned char* buffer, int max, int totalMs)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(totalMs);
    int got = 0;
    while (got < max) {
        pollfd in{fd, POLLIN, 0};
        const int ready = ::poll(&in, 1, msLeft(end));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || !(in.revents & POLLIN) || (in.revents & (POLLERR | POLLNVAL))) {
            break; // time is up, or the line hung up or failed
        }
        const ssize_t n = ::read(fd, buffer + got, static_cast<size_t>(max - got));
        if (n > 0) {
            got += static_cast<int>(n);
        } else if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        } else {
            break; // readable but nothing came: hung up
        }
    }
    return got;
}

int WriteWithin(int fd, const unsigned char* bytes, int n, int totalMs)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(totalMs);
    int sent = 0;
    while (sent < n) {
        const ssize_t written = ::write(fd, bytes + sent, static_cast<size_t>(n - sent));
        if (written > 0) {
            sent += static_cast<int>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno != EAGAIN) {
            break;
        }
        const int left = msLeft(end);
        if (left == 0) {
            break;
        }
        pollfd out{fd, POLLOUT, 0};
        if (::poll(&out, 1, left) <= 0) {
            break;
        }
    }
    return sent;
}

} // namespace tessaron
