#include "PacedSender.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tessaron {

TPacedSender::Written TPacedSender::writeByte(std::uint8_t byte, std::string& error)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ByteTimeoutMs);
    for (;;) {
        const ssize_t n = ::write(m_fd, &byte, 1);
        if (n == 1) {
            return Written::Yes;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            // EIO: the device is gone (unplugged, or its bridge stopped).
            error = std::string("the port failed (") + std::strerror(errno) + ")";
            return Written::Failed;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (m_pacer.Cancelled()) {
            return Written::Cancelled;
        }
        if (left <= 0) {
            error =
                "the port took no byte for " + std::to_string(ByteTimeoutMs / 1000) + " seconds";
            return Written::Failed;
        }
        // Short steps, so that a cancel is seen while the port is full.
        pollfd out{m_fd, POLLOUT, 0};
        const int ready = ::poll(&out, 1, static_cast<int>(left < 100 ? left : 100));
        if (ready > 0 && (out.revents & (POLLERR | POLLNVAL))) {
            error = "the port failed";
            return Written::Failed;
        }
    }
}

TPacedSender::Result TPacedSender::Send(const std::uint8_t* bytes, std::size_t n,
                                        std::atomic<int>* progress)
{
    Result r;
    for (std::size_t i = 0; i < n; ++i) {
        if (m_pacer.Cancelled()) {
            r.Status = Result::Outcome::Cancelled;
            return r;
        }
        const Written written = writeByte(bytes[i], r.Error);
        if (written != Written::Yes) {
            r.Status =
                written == Written::Failed ? Result::Outcome::Failed : Result::Outcome::Cancelled;
            return r;
        }
        ++r.BytesSent;
        if (progress != nullptr) {
            progress->store(r.BytesSent);
        }
        if (m_delayMs > 0 && !m_pacer.Pause(m_delayMs)) {
            // The byte went out; the pause after it was cut short.
            r.Status = i + 1 == n ? Result::Outcome::Sent : Result::Outcome::Cancelled;
            return r;
        }
    }
    return r;
}

void TPacedSender::Drain(int fd, int timeoutMs)
{
    // tcdrain() could wait for ever on a stuck device; TIOCOUTQ is asked in steps.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int queued = 0;
    while (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0 &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace tessaron
