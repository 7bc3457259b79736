#include "CommandSocket.h"

#include "common/PrivateFolder.h"
#include "common/RuntimePlace.h"
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

// The socket in a place's folder; "" with error set when it cannot be used.
std::string socketIn(const std::string& base, bool make, std::string& error)
{
    const std::string folder = base + "/corvandelle";
    if (make && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
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

TCommandResult failure(std::string error)
{
    return {TCommandReply::Error, std::move(error)};
}

TCommandResult sendTo(const std::string& path, std::string_view pair)
{
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) {
        return failure(std::string("no socket: ") + std::strerror(errno));
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == ENOENT || errno == ECONNREFUSED) {
            return {TCommandReply::NotRunning, {}};
        }
        return failure(path + ": " + std::strerror(errno));
    }
    if (::send(fd.get(), pair.data(), pair.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(pair.size())) {
        return failure(std::string("the command could not be sent: ") + std::strerror(errno));
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
            return {TCommandReply::NoAnswer, {}};
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
    static constexpr struct
    {
        std::string_view Line;
        TCommandReply Reply;
    } replies[] = {
        {"ok", TCommandReply::Done},         {"busy", TCommandReply::Busy},
        {"ignored", TCommandReply::Ignored}, {"nodesktop", TCommandReply::NoDesktop},
        {"failed", TCommandReply::Failed},
    };
    if (reply == "stopped") {
        return {TCommandReply::Done, {}, true};
    }
    for (const auto& r : replies) {
        if (reply == r.Line) {
            return {r.Reply, {}};
        }
    }
    return {TCommandReply::Closed, {}};
}

} // namespace

std::string CommandSocketPath(std::string& error)
{
    const std::string base = SingleInstanceLock::lockFolder(error);
    if (base.empty()) {
        return {};
    }
    return socketIn(base, true, error);
}

TCommandResult SendCommandPair(std::string_view pair)
{
    std::string error;
    const std::string path = CommandSocketPath(error);
    if (path.empty()) {
        return failure(error);
    }
    TCommandResult result = sendTo(path, pair);
    if (result.Reply == TCommandReply::NotRunning && RuntimePlace::OfThisUser().inLoginRuntime()) {
        const RuntimePlace home = RuntimePlace::HomeOfThisUser();
        std::string ignored;
        const std::string other = home.usable() ? socketIn(home.folder(), false, ignored) : "";
        if (!other.empty()) {
            result = sendTo(other, pair);
        }
    }
    return result;
}

std::string CommandProblem(const TCommandResult& result)
{
    switch (result.Reply) {
    case TCommandReply::Done:
        return {};
    case TCommandReply::Busy:
        return "Corvandelle is busy with its configuration dialog; try again when it is closed.";
    case TCommandReply::Ignored:
        return "the running bridge ignored the command.";
    case TCommandReply::NoDesktop:
        return "the running tessaron bridge has no desktop, so no configuration dialog to "
               "open: assign ports with tessaron assign.";
    case TCommandReply::Failed:
        return "bridging could not start again; the log of the running bridge says why.";
    case TCommandReply::NotRunning:
        return "neither Corvandelle nor tessaron bridge is running.";
    case TCommandReply::NoAnswer:
        return "the running bridge did not answer.";
    case TCommandReply::Closed:
        return "the running bridge closed the connection without an answer.";
    case TCommandReply::Error:
        break;
    }
    return result.Error;
}

int SendCommand(std::string_view pair, std::string& message)
{
    const TCommandResult r = SendCommandPair(pair);
    if (r.Reply == TCommandReply::Done) {
        return 0;
    }
    message = CommandProblem(r);
    if (r.Reply == TCommandReply::Error) {
        message = "Corvandelle: " + message;
    } else if (message[0] >= 'a' && message[0] <= 'z') {
        message[0] = static_cast<char>(message[0] - 'a' + 'A'); // a sentence of its own
    }
    return 1;
}

} // namespace tessaron
