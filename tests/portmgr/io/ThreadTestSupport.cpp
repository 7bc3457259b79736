#include "ThreadTestSupport.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace tessaron::test {

PtyPair::PtyPair()
{
    int slaveFd = -1;
    if (::openpty(&master, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty");
    }
    termios line;
    ::tcgetattr(slaveFd, &line);
    ::cfmakeraw(&line);
    ::tcsetattr(slaveFd, TCSANOW, &line);
    ::fcntl(slaveFd, F_SETFL, ::fcntl(slaveFd, F_GETFL) | O_NONBLOCK);
    slave = TDeviceHandle::ForFd(slaveFd);
}

PtyPair::~PtyPair()
{
    if (master >= 0) {
        ::close(master);
    }
}

void PtyPair::Write(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0) {
            throw std::runtime_error("write to pseudo-terminal");
        }
        sent += static_cast<size_t>(n);
    }
}

std::string PtyPair::Read(size_t max, int timeoutMs)
{
    std::string out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[256];
    while (out.size() < max) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            break;
        }
        pollfd in{master, POLLIN, 0};
        if (::poll(&in, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        const ssize_t n = ::read(master, buffer, std::min(sizeof buffer, max - out.size()));
        if (n <= 0) {
            break;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    return out;
}

} // namespace tessaron::test
