#include "CommandSocket.h"

#include "common/PrivateFolder.h"
#include "common/SingleInstanceLock.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaron {

namespace {

// Long enough for a start of bridging that probes all sixteen serial ports.
constexpr int ReplyWaitMs = 60000;

// Only this user may even look into the folder.
bool privateFolder(const std::string& path)
{
    const PrivateFolder check = PrivateFolder::Check(path, ::getuid());
    return check.isPrivate() && (check.mode() & (S_IRWXG | S_IRWXO)) == 0;
}

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string CommandSocketPath(std::string& error)
{
    const std::string base = SingleInstanceLock::lockFolder(error);
    if (base.empty()) {
        return {};
    }
    const std::string folder = base + "/corvandelle";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "Unable to create " + folder + ": " + std::strerror(errno);
        return {};
    }
    if (!privateFolder(folder)) {
        error = folder + " is not a private folder of this user";
        return {};
    }
    const std::string path = folder + "/command";
    if (path.size() >= sizeof(sockaddr_un::sun_path)) {
        error = path + ": path too long for a local socket";
        return {};
    }
    return path;
}

int SendCommand(std::string_view pair, std::string& message)
{
    std::string error;
    const std::string path = CommandSocketPath(error);
    if (path.empty()) {
        message = "Corvandelle: " + error;
        return 1;
    }
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) {
        message = std::string("Corvandelle: no socket: ") + std::strerror(errno);
        return 1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        message = (errno == ENOENT || errno == ECONNREFUSED)
                      ? std::string("Corvandelle is not running.")
                      : "Corvandelle: " + path + ": " + std::strerror(errno);
        return 1;
    }
    if (::send(fd.get(), pair.data(), pair.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(pair.size())) {
        message =
            std::string("Corvandelle: the command could not be sent: ") + std::strerror(errno);
        return 1;
    }
    std::string reply;
    char buffer[64];
    while (reply.find('\n') == std::string::npos && reply.size() < sizeof buffer) {
        pollfd p{fd.get(), POLLIN, 0};
        const int ready = ::poll(&p, 1, ReplyWaitMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            message = "Corvandelle did not answer.";
            return 1;
        }
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        reply.append(buffer, static_cast<size_t>(n));
    }
    reply = reply.substr(0, reply.find('\n'));
    if (reply == "ok") {
        return 0;
    }
    if (reply == "busy") {
        message = "Corvandelle is busy with its configuration dialog; try again when it is closed.";
    } else if (reply == "ignored") {
        message = "Corvandelle ignored the command.";
    } else {
        message = "Corvandelle closed the connection without an answer.";
    }
    return 1;
}

} // namespace tessaron
