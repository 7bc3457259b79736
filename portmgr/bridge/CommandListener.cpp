#include "CommandListener.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaron {

namespace {

// The epoll data of the listening socket; connections carry their index.
constexpr std::uint32_t ListenerTag = 0xFFFFFFFFu;

bool fromThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

} // namespace

TCommandListener::TCommandListener(Handler handler) : m_handler(std::move(handler))
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
}

TCommandListener::~TCommandListener()
{
    Close();
    if (m_epoll >= 0) {
        ::close(m_epoll);
    }
}

bool TCommandListener::Listen(const std::string& path, std::string& error)
{
    Close();
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        error = path + ": no path for a local socket";
        return false;
    }
    if (m_epoll < 0) {
        error = std::string("no event descriptor: ") + std::strerror(errno);
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("no socket: ") + std::strerror(errno);
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ::unlink(path.c_str());
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u32 = ListenerTag;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, MaxWaiting) != 0 ||
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    m_listen = fd;
    m_path = path;
    return true;
}

void TCommandListener::Close()
{
    for (int i = 0; i < MaxWaiting; ++i) {
        drop(i);
    }
    if (m_listen >= 0) {
        ::close(m_listen); // leaves the epoll set with it
        m_listen = -1;
        ::unlink(m_path.c_str());
    }
}

void TCommandListener::Dispatch()
{
    // One event at a time: the handler may enter Dispatch again and change
    // the set, so no list of events may outlive a call of it.
    epoll_event event{};
    while (m_epoll >= 0 && ::epoll_wait(m_epoll, &event, 1, 0) == 1) {
        if (event.data.u32 == ListenerTag) {
            if (!accept()) {
                return; // out of descriptors: the others' work goes first, then again
            }
        } else if (event.data.u32 < static_cast<std::uint32_t>(MaxWaiting)) {
            receive(static_cast<int>(event.data.u32));
        }
    }
}

bool TCommandListener::accept()
{
    while (m_listen >= 0) {
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        if (!fromThisUser(fd)) {
            ::close(fd);
            continue;
        }
        int index = 0;
        for (int i = 0; i < MaxWaiting; ++i) {
            if (m_waiting[i].Fd < 0) {
                index = i;
                break;
            }
            if (m_waiting[i].Serial < m_waiting[index].Serial) {
                index = i;
            }
        }
        drop(index);
        TWaiting& w = m_waiting[index];
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.u32 = static_cast<std::uint32_t>(index);
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
            ::close(fd);
            continue;
        }
        w.Fd = fd;
        w.Have = 0;
        w.Serial = ++m_serial;
    }
    return true;
}

void TCommandListener::receive(int index)
{
    TWaiting& w = m_waiting[index];
    if (w.Fd < 0) {
        return;
    }
    const ssize_t n =
        ::recv(w.Fd, w.Pair + w.Have, sizeof w.Pair - static_cast<size_t>(w.Have), MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return;
    }
    if (n <= 0) {
        drop(index);
        return;
    }
    w.Have += static_cast<int>(n);
    if (w.Have < 2) {
        return;
    }
    // Out of the table before the handler runs: whatever it does, this
    // connection is answered once. Whatever follows the pair is not read.
    const int fd = w.Fd;
    const char first = w.Pair[0];
    const char second = w.Pair[1];
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    w.Fd = -1;
    const std::string reply = m_handler(first, second) + '\n';
    // A few bytes into an empty socket buffer: they fit at once.
    ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(fd);
}

void TCommandListener::drop(int index)
{
    TWaiting& w = m_waiting[index];
    if (w.Fd >= 0) {
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, w.Fd, nullptr);
        ::close(w.Fd);
        w.Fd = -1;
    }
}

} // namespace tessaron
