#include "SerialLine.h"

#include "PortHolders.h"

#include "common/SuiteFolder.h"
#include "portmgr/io/PortsLock.h"
#include "portmgr/io/TVirtualPort.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
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

// The device node behind path, and the text of the link path when it is one
// (a /dev/serial/by-id/ name), as lock files may name either.
std::string deviceOf(const std::string& path)
{
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) != nullptr ? std::string(real) : path;
}

std::string reachedBy(const std::string& path)
{
    std::error_code notALink;
    return std::filesystem::read_symlink(path, notALink).string();
}

std::string lockerText(pid_t pid, const std::string& lockFile)
{
    return pid > 0 ? DescribeProcess(pid) + ", which holds its lock " + lockFile
                   : "another program, whose lock " + lockFile + " cannot be read";
}

} // namespace

std::string PortUser(const std::string& path)
{
    struct stat node;
    if (::stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) {
        return {};
    }
    if (node.st_uid != ::getuid() && node.st_uid != 0) {
        return "another user (" + UserName(node.st_uid) + "), whose device it is";
    }
    std::string lockFile;
    const pid_t locker = TUucpLock::Holder(deviceOf(path), reachedBy(path), &lockFile);
    if (locker != 0) {
        return lockerText(locker, lockFile);
    }
    // Programs that take no lock: those of this user (of every user for root).
    std::string who;
    FindPortHolder(path, who);
    return who;
}

std::string ComPortPath(int n)
{
    return SuitePath("ports/COM" + std::to_string(n));
}

int OpenComPort(int n, TSerialPort& port, std::string* reason)
{
    port.Close();
    if (n < 1 || n > 16) {
        return 1;
    }
    const std::string path = ComPortPath(n);
    const auto passOver = [reason](const std::string& why) {
        if (reason != nullptr) {
            *reason = why;
        }
        return 1;
    };
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0) {
        return 1;
    }
    // Held from the look at the link until the device is open: no bridge
    // makes its port there in between.
    const TPortsLock portsLock(TPortsLock::Mode::Shared, false);
    if (!portsLock.Held()) {
        return passOver(portsLock.Error());
    }
    bool alive = false;
    if (TVirtualPort::IsVirtualPortLink("COM" + std::to_string(n), alive)) {
        return passOver(alive ? "a virtual port of a running bridge"
                              : "left behind by a bridge that ended");
    }
    struct stat node;
    if (::stat(path.c_str(), &node) != 0) {
        return 1;
    }
    if (!S_ISCHR(node.st_mode)) {
        return 2;
    }
    const std::string user = PortUser(path);
    if (!user.empty()) {
        return passOver("in use by " + user);
    }
    // Taken before the open, as the convention asks; Take looks again, so a
    // lock taken since PortUser looked is honoured too.
    TUucpLock uucp;
    pid_t locker = 0;
    std::string lockFile;
    if (!uucp.Take(deviceOf(path), reachedBy(path), locker, &lockFile)) {
        return passOver("in use by " + lockerText(locker, lockFile));
    }
    // O_NONBLOCK: a port without carrier must not block the open.
    const int opened = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        if (errno == EBUSY) {
            return passOver("in use by another program (in exclusive mode)");
        }
        return 1;
    }
    struct stat info;
    if (::fstat(opened, &info) != 0 || !S_ISCHR(info.st_mode) || info.st_rdev != node.st_rdev) {
        ::close(opened);
        return 2;
    }
    if (!port.Take(opened, std::move(uucp))) {
        // Closed before a byte reached it.
        if (reason != nullptr) {
            *reason = "not a serial port: " + deviceOf(path) + " is no terminal";
        }
        return 2;
    }
    // Another program of the suite holding the port keeps its lock; TIOCEXCL
    // also turns away other programs that open the terminal while we have it.
    if (::flock(opened, LOCK_EX | LOCK_NB) != 0) {
        port.Close();
        return passOver("in use by another program of the suite");
    }
    ::ioctl(opened, TIOCEXCL);
    return 0;
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

int WriteWithin(int fd, const unsigned char* bytes, int n, int totalMs,
                const std::atomic<bool>* stop)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(totalMs);
    int sent = 0;
    while (sent < n && (stop == nullptr || !stop->load(std::memory_order_acquire))) {
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
